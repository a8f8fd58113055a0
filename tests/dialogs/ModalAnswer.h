#pragma once
// Answers a modal window from inside its own event loop: the action runs as
// soon as the loop starts, on the window that is modal then. Whatever the
// action leaves open is closed afterwards, so a failed check cannot hang the
// test. If no window turns modal, Seen() stays false once events are flushed.
#include <QApplication>
#include <QCoreApplication>
#include <QScopeGuard>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(QWidget*)> action) : state_(std::make_shared<State>())
    {
        QTimer::singleShot(0, [state = state_, action = std::move(action)] {
            QWidget* modal = QApplication::activeModalWidget();
            state->ran = true;
            if (!modal)
                return;
            state->seen = true;
            const auto closeLeftovers = qScopeGuard([modal] {
                if (modal->isVisible())
                    modal->close();
            });
            action(modal);
        });
    }

    // True when a modal window was open when the action's turn came.
    bool Seen()
    {
        if (!state_->ran)
            QCoreApplication::processEvents();
        return state_->seen;
    }

private:
    struct State {
        bool ran = false;
        bool seen = false;
    };
    std::shared_ptr<State> state_;
};
