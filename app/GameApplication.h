#pragma once
// The application object. It alone hears the system's order to quit: a
// session manager's order to end arrives as a Quit event to it, after which
// Qt closes every window. Heard here, not through a filter on every event
// of the program.
#include <QApplication>
#include <QEvent>

#include <functional>
#include <utility>

class GameApplication : public QApplication {
public:
    using QApplication::QApplication;

    // Called when a Quit reaches the application, before its windows close.
    void OnQuitRequest(std::function<void()> handler) { quitRequest_ = std::move(handler); }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::Quit && quitRequest_)
            quitRequest_();
        return QApplication::event(event);
    }

private:
    std::function<void()> quitRequest_;
};
