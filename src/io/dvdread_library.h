#pragma once
// libdvdread, loaded when the first disc is opened: a run over a VOB or a
// raw file never pays for loading it (a fifth of a millisecond, at each
// start of tonvika-cli, against runs of two).

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>

#include <string>

namespace tonvika {

struct DvdReadLibrary {
  decltype(&DVDOpen2) open;
  decltype(&DVDClose) close;
  decltype(&DVDOpenFile) open_file;
  decltype(&DVDCloseFile) close_file;
  decltype(&DVDFileSize) file_size;
  decltype(&DVDFileSeek) file_seek;
  decltype(&DVDReadBlocks) read_blocks;
  decltype(&DVDReadBytes) read_bytes;
  decltype(&ifoOpen) ifo_open;
  decltype(&ifoClose) ifo_close;
};

// The library, loaded once; nullptr when it cannot be, with the reason in
// `error`. It stays loaded until the program ends.
const DvdReadLibrary* LoadDvdRead(std::string* error = nullptr);

}  // namespace tonvika
