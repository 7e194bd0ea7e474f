"""Reads the parts of a DVD title set IFO (VTS_nn_0.IFO or its .BUP) that the
fixture scripts edit or check: the audio attribute entries and the audio
stream control words of every program chain. Offsets come from the file's
own pointers (the VTS_PGCI sector at 0xCC, its search pointers), never from
a fixed layout.
"""

SECTOR = 2048
AUDIO_COUNT = 0x202
AUDIO_TABLE = 0x204
PGCI_SECTOR = 0xCC
AUDIO_CONTROL = 0x0C  # in a program chain: eight 16-bit words
BASES = {0: 0x80, 6: 0x88, 4: 0xA0}  # coding mode -> first sub-stream number


def u16(data, at):
    return (data[at] << 8) | data[at + 1]


def u32(data, at):
    return (data[at] << 24) | (data[at + 1] << 16) | (data[at + 2] << 8) | data[at + 3]


def audio_entries(data):
    """(coding mode, language code or None) of each counted entry."""
    entries = []
    for k in range(min(u16(data, AUDIO_COUNT), 8)):
        at = AUDIO_TABLE + 8 * k
        lang = bytes(data[at + 2:at + 4]).decode("ascii") if data[at] & 0x04 else None
        entries.append((data[at] >> 5, lang))
    return entries


def program_chains(data):
    """File offset of each program chain of the title set, in table order."""
    table = u32(data, PGCI_SECTOR) * SECTOR
    if table == 0:
        raise ValueError("no program chain table")
    return [table + u32(data, table + 8 + 8 * i + 4) for i in range(u16(data, table))]


CELL_PLAYBACK = 0xE8  # in a program chain: 16-bit offsets of its cell tables
CELL_POSITION = 0xEA
CELL_PLAYBACK_SIZE = 24
CELL_POSITION_SIZE = 4


def cells(data, chain):
    """(playback entry, position entry) file offsets of each cell of a chain,
    in playback order; a playback entry has the first sector at +8 and the
    last at +20."""
    count = data[chain + 3]
    playback = chain + u16(data, chain + CELL_PLAYBACK)
    position = chain + u16(data, chain + CELL_POSITION)
    return [(playback + CELL_PLAYBACK_SIZE * n, position + CELL_POSITION_SIZE * n) for n in range(count)]


def cell_sectors(data, chain):
    """(first, last) sector of each cell of a chain, in playback order."""
    return [(u32(data, p + 8), u32(data, p + 20)) for p, _ in cells(data, chain)]


def audio_control_offset(chain, entry):
    return chain + AUDIO_CONTROL + 2 * entry


def stream_control(data, chain):
    """Entry -> physical stream number of one chain (available entries only)."""
    control = {}
    for entry in range(8):
        word = u16(data, audio_control_offset(chain, entry))
        if word & 0x8000:
            control[entry] = (word & 0x7F00) >> 8
    return control


def declared_streams(data):
    """Sub-stream number -> entry, as the first program chain declares them."""
    entries = audio_entries(data)
    control = stream_control(data, program_chains(data)[0])
    declared = {}
    for entry, (coding, _) in enumerate(entries):
        if entry in control and coding in BASES:
            declared.setdefault(BASES[coding] + control[entry], entry)
    return declared
