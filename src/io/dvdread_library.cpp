#include "io/dvdread_library.h"

#include <dlfcn.h>

namespace tonvika {

namespace {

struct Loaded {
  DvdReadLibrary library{};
  bool ok = false;
  std::string error;
};

template <typename Function>
bool Resolve(void* handle, const char* name, Function& function, std::string& error) {
  function = reinterpret_cast<Function>(::dlsym(handle, name));
  if (function == nullptr) error = std::string(TONVIKA_DVDREAD_SONAME ": no ") + name;
  return function != nullptr;
}

Loaded Load() {
  Loaded loaded;
  void* handle = ::dlopen(TONVIKA_DVDREAD_SONAME, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = ::dlerror();
    loaded.error = reason != nullptr ? reason : TONVIKA_DVDREAD_SONAME " cannot be loaded";
    return loaded;
  }
  DvdReadLibrary& l = loaded.library;
  std::string& e = loaded.error;
  loaded.ok = Resolve(handle, "DVDOpen2", l.open, e) && Resolve(handle, "DVDClose", l.close, e) &&
              Resolve(handle, "DVDOpenFile", l.open_file, e) && Resolve(handle, "DVDCloseFile", l.close_file, e) &&
              Resolve(handle, "DVDFileSize", l.file_size, e) && Resolve(handle, "DVDFileSeek", l.file_seek, e) &&
              Resolve(handle, "DVDReadBlocks", l.read_blocks, e) && Resolve(handle, "DVDReadBytes", l.read_bytes, e) &&
              Resolve(handle, "ifoClose", l.ifo_close, e) && Resolve(handle, "ifoOpenVMGI", l.ifo_open_vmgi, e) &&
              Resolve(handle, "ifoOpenVTSI", l.ifo_open_vtsi, e) &&
              Resolve(handle, "ifoRead_TT_SRPT", l.read_title_table, e) &&
              Resolve(handle, "ifoRead_VTS_PTT_SRPT", l.read_part_of_title_table, e) &&
              Resolve(handle, "ifoRead_PGCIT", l.read_program_chain_table, e) &&
              Resolve(handle, "UDFFindFile", l.find_image_file, e);
  return loaded;
}

}  // namespace

const DvdReadLibrary* LoadDvdRead(std::string* error) {
  static const Loaded loaded = Load();
  if (!loaded.ok && error != nullptr) *error = loaded.error;
  return loaded.ok ? &loaded.library : nullptr;
}

}  // namespace tonvika
