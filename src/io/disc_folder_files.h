#pragma once
// The files of a DVD folder that libdvdread opens by itself (the IFOs, their
// backups and the VOBs), looked at before it may open them: it opens them
// blocking, so a FIFO would hang the run, and a folder in place of a file
// would read as an empty file.

#include <string>
#include <vector>

namespace tonvika {

class DiscFolderFiles {
 public:
  // `folder` as libdvdread is given it.
  explicit DiscFolderFiles(const std::string& folder);

  // Throws FileError (the entry's path and the reason: "not a regular file"
  // or the system's) unless every entry that libdvdread may take for `name`
  // is a regular file, symbolic links followed, that can be opened for
  // reading. Returns false when no entry has the name: libdvdread does not
  // find it either.
  bool Check(const std::string& name) const;

 private:
  std::vector<std::string> folders_;  // where libdvdread looks for a name, in its order
};

}  // namespace tonvika
