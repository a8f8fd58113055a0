#pragma once
// The look of every hint (tool tip) in the program: a thin black border,
// Arial 13 px in the system's tool-tip text colour, on the tool-tip background.
#include <QFont>
#include <QString>

class QApplication;

class ShapeHint {
public:
    static QFont HintFont();
    // The style rule for tool tips; Install appends it to the application's
    // style sheet, keeping whatever rules are there already.
    static QString StyleSheet();
    static void Install(QApplication& app);
};
