#pragma once
// The language table (code.csv): code, English name, Japanese name.

#include <string>
#include <string_view>
#include <vector>

namespace tonvika {

enum class DisplayLanguage { Japanese = 0, English = 1 };

// The table's lines in file order, as UTF-8.
struct LanguageTable {
  std::vector<std::string> lines;
  bool empty() const { return lines.empty(); }
};

// Splits one table line into its fields (blanks are bytes 1 to 32, quoted
// fields, doubled quotes, a trailing comma adds an empty field).
std::vector<std::string> SplitLanguageLine(std::string_view line);

// Splits a whole text into table lines: CR LF, CR and LF each end a line; a
// final line break adds no empty line. A UTF-8 byte-order mark is dropped;
// text that is not valid UTF-8 is read as CP932 and converted.
LanguageTable ParseLanguageTable(std::string_view content);

// Reads the file; throws FileError when it exists but cannot be read, or
// when it is larger than 1 MiB (no language table is).
LanguageTable LoadLanguageTable(const std::string& path);

// The directory of the running program's own file, with a trailing '/'.
std::string ProgramDirectory();
// code.csv beside the running program, or in ../share/tonvika when only
// that one exists (an installed program).
std::string DefaultLanguageTablePath();

// Whether a line of the table names a language: a code of two or three
// lower-case ASCII letters, then its English name and perhaps its Japanese
// one, nothing more. A file that is no language table (a VOB, an empty
// file) has none, and every code would be shown as it is.
bool GivesLanguageNames(const LanguageTable& table);

// The name for `code` in the chosen display language, or the code itself.
std::string LookupLanguageName(const LanguageTable& table, std::string_view code,
                               DisplayLanguage language);

}  // namespace tonvika
