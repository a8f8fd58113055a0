#pragma once
// The viewer that shows help topics: on Windows the platform's HTML help
// control, elsewhere the game's own viewer. The help layer talks to it only
// through these calls, so a test can stand in for it.
#include <QString>

class QWidget;

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // Shows the topic with this context number from the help file; returns
    // the window that shows it, or nullptr.
    virtual QWidget* ShowContext(const QString& helpFile, quint32 context) = 0;
    // Closes every help window.
    virtual void CloseAll() = 0;
    // An open help window shows this topic instead, without coming to the
    // front; with none open nothing happens. A viewer that cannot change an
    // open window leaves it as it is.
    virtual void FollowContext(const QString& helpFile, quint32 context)
    {
        Q_UNUSED(helpFile);
        Q_UNUSED(context);
    }
};
