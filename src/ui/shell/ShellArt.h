// Pictures of the shell: the toolbar buttons, the program's icon and the
// cross cursor (`imgCross`).
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace velmor {

enum class ToolPicture {
    New,
    Open,
    Save,
    Print,
    Preferences,
    Help,
    Manual,
    Flow,
    Temperature,
    BatchVolume,
    FluidLevel,
    OpenLoop,
};

// A 24 x 24 toolbar picture, drawn at twice the resolution for sharp
// screens.
QIcon ToolbarIcon(ToolPicture picture);

// The program's icon, and its picture at `size` logical pixels for a
// screen of pixel ratio `ratio` (the about box, the intro screen's logo).
QIcon ProgramIcon();
QPixmap ProgramPicture(int size, qreal ratio);

// The 32 x 32 cross picture and the cursor made of it (hot spot centred).
QPixmap CrossPicture();
QCursor CrossCursor();

} // namespace velmor
