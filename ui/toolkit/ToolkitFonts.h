#pragma once
// The two font faces the windows use, always sized in pixels so that the
// layouts fit whatever the screen's dots per inch.
#include <QFont>

// "Arial": fontconfig maps it to Liberation Sans, which has the same metrics.
QFont ArialFont(int pixelSize, bool bold = false);

// The small caption face of labels and dialogs (11 px in the layouts).
// Liberation Sans stands in for the old bitmap sans face that Linux lacks.
QFont CaptionFont(int pixelSize = 11, bool bold = false);
