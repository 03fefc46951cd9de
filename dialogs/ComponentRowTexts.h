#pragma once

#include <QString>

#include "model/Component.h"

// Texts shared by the component lists of the dialogs.
namespace rowtext {

// "厚度", "直径", "网格" or "剖面"; empty for any other letter.
QString typeText(const Component& c);

// "%d" of pointCount, or "%d , %d" with pointCountVert for a grid.
QString pointCountText(const Component& c);

}  // namespace rowtext
