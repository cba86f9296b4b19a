#pragma once
#include <QIcon>

namespace accelog {
// Tool-bar icons drawn as vectors, so they are sharp at any scale.
QIcon ToolIcon(int button);
}  // namespace accelog
