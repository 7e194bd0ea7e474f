#pragma once
// Where each control of the main window sits: pixels at 96 dpi, relative to
// the client area below the menu bar, or to the control's group box or page.

namespace tonvika {

inline constexpr int kClientWidth = 482;
inline constexpr int kClientHeight = 565;
inline constexpr const char* kWindowCaption = "Tonvika v1.05";

struct ControlPlace {
  const char* name;  // the control's objectName
  int left;
  int top;
  int width;
  int height;
  // Labels that size themselves to their text: the size is the least they
  // take, and a taller label stays centred on its place, so that no caption
  // is cut off whatever the font's line height.
  bool fits_text;
};

inline constexpr ControlPlace kControlPlaces[] = {
    {"Label1", 16, 8, 377, 17, false},
    {"Button3", 400, 8, 75, 25, false},
    {"RadioGroup1", 8, 40, 73, 49, false},
    {"GroupBox1", 88, 40, 105, 49, false},
    {"Label2", 8, 16, 25, 17, false},
    {"UpDown1", 32, 16, 17, 17, false},
    {"Label3", 51, 17, 22, 16, true},
    {"CheckBox1", 200, 48, 129, 17, false},
    {"Label8", 200, 72, 4, 12, true},
    {"Button1", 400, 40, 75, 25, false},
    {"ListView1", 8, 96, 465, 137, false},
    {"Label7", 16, 248, 104, 12, true},
    {"PageControl1", 8, 264, 369, 257, false},
    {"Memo2", 8, 8, 345, 217, false},
    {"Memo3", 8, 8, 345, 217, false},
    {"Memo4", 8, 8, 345, 217, false},
    {"Memo5", 8, 8, 345, 217, false},
    {"Memo6", 8, 8, 345, 217, false},
    {"Memo7", 8, 8, 345, 217, false},
    {"Memo8", 8, 8, 345, 217, false},
    {"Memo9", 8, 8, 345, 217, false},
    {"Label6", 110, 376, 202, 16, true},
    {"Label5", 152, 528, 150, 12, true},
    {"Label4", 312, 528, 33, 12, true},
    {"StatusBar1", 0, 543, 482, 22, false},
    // Its two panels: the first 50 wide, the second taking the rest.
    {"Panel0", 0, 2, 50, 20, false},
    {"Panel1", 52, 2, 430, 20, false},
    {"Memo1", 616, 0, 137, 65, false},
    {"code", 520, 8, 73, 81, false},
};

// The two radio items of RadioGroup1, inside the group box.
inline constexpr ControlPlace kRadioItemPlaces[] = {
    {"RadioGroup1Item0", 8, 15, 62, 16, false},
    {"RadioGroup1Item1", 8, 31, 62, 16, false},
};

inline constexpr int kListColumnWidths[] = {30, 400};
// Eight rows under the header fill the list's height exactly.
inline constexpr int kListHeaderHeight = 15;
inline constexpr int kListRowHeight = 15;

}  // namespace tonvika
