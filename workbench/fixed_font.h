// The fixed-pitch face of the model editor, the report view and printouts.
#pragma once

#include <QFont>

// preferred when it resolves to a fixed-pitch face on this machine;
// otherwise the system's fixed font, or the first fixed-pitch family
// installed, at the preferred size and weight. Font sets map a missing
// "Courier New" to whatever they like, not always to a fixed-pitch face,
// and the columns of a network file only line up in one.
QFont fixedPitchFont(const QFont& preferred);

// "Courier New", normal weight, 11 pixels high, or its fixed-pitch stand-in.
QFont editorFont();
