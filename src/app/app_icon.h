#pragma once
// The program's icon, drawn in code (the same picture as org.example.tonvika.svg, which
// desktops use), so that no image plug-in is needed.

#include <QIcon>

namespace tonvika {

QIcon AppIcon();

}  // namespace tonvika
