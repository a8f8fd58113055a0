#pragma once
// What the help window needs from the program around it, which the program
// entry wires (the help layer knows neither the main window nor the store):
// the window it opens over the first time, and a place for where the player
// left it.
#include <QString>

class QWidget;

class HelpWindowHost {
public:
    virtual ~HelpWindowHost() = default;
    // The window the help opens centred over when no placement is kept; may be nullptr.
    virtual QWidget* MainWindow() = 0;
    // The help window's placement as kept, in the main window's format
    // ("200,flags,show,left,top,right,bottom"); empty when none is kept.
    virtual QString HelpPlacement() = 0;
    virtual void SetHelpPlacement(const QString& value) = 0;
};
