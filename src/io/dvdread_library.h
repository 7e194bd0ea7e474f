#pragma once
// libdvdread, loaded when the first disc is opened: a run over a VOB or a
// raw file never pays for loading it (a fifth of a millisecond, at each
// start of tonvika-cli, against runs of two).

#include <dvdread/dvd_reader.h>
#include <dvdread/dvd_udf.h>
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
  decltype(&ifoClose) ifo_close;
  // The information files are opened with their header alone, then only the
  // tables the program reads are read: ifoOpen reads every table, and a
  // damaged one can make it reserve gigabytes.
  decltype(&ifoOpenVMGI) ifo_open_vmgi;
  decltype(&ifoOpenVTSI) ifo_open_vtsi;
  decltype(&ifoRead_TT_SRPT) read_title_table;
  decltype(&ifoRead_VTS_PTT_SRPT) read_part_of_title_table;
  decltype(&ifoRead_PGCIT) read_program_chain_table;
  decltype(&UDFFindFile) find_image_file;  // where a file lies in an image
};

// The library, loaded once; nullptr when it cannot be, with the reason in
// `error`. It stays loaded until the program ends.
const DvdReadLibrary* LoadDvdRead(std::string* error = nullptr);

}  // namespace tonvika
