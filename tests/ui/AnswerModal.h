#pragma once
// Acts on a modal dialog from inside its own event loop, so that tests never
// wait for a window: the action runs once the loop has started, on the window
// that is modal then. Whatever the action leaves open is closed afterwards,
// so a failed check cannot hang the test run.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class AnswerModal {
public:
    explicit AnswerModal(std::function<void(QWidget*)> action) : seen_(std::make_shared<bool>(false))
    {
        QTimer::singleShot(0, [seen = seen_, action = std::move(action)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            *seen = true;
            action(modal);
            if (modal->isVisible())
                modal->close();
        });
    }

    // True once the action has found a modal window.
    bool Seen() const { return *seen_; }

private:
    std::shared_ptr<bool> seen_;
};
