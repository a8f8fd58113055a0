// Keyboard play and the tool strip's shortcuts. Every key goes to the flow
// as the mouse's presses do, so the rules and the drawing stay in one place.
#include "game/mainform/main.h"

#include <QShortcut>
#include <optional>

void Tmainform::CreateShortcuts()
{
    const auto bind = [this](QKeySequence keys, void (Tmainform::*handler)()) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, handler);
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_N), &Tmainform::StartBtnClick);
    bind(QKeySequence(Qt::Key_P), &Tmainform::PauseBtnClick);
    bind(QKeySequence(Qt::Key_Pause), &Tmainform::PauseBtnClick);
    bind(QKeySequence(Qt::CTRL | Qt::Key_H), &Tmainform::HighScoreBtnClick);
    bind(QKeySequence(Qt::Key_F1), &Tmainform::RulesBtnClick);
    bind(QKeySequence(Qt::CTRL | Qt::Key_Q), &Tmainform::ExitBtnClick);
    bind(QKeySequence(Qt::Key_O), &Tmainform::OptionBtnClick);
    bind(QKeySequence(Qt::Key_I), &Tmainform::InfoBtnClick);
}

bool Tmainform::boxKeyDown(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const std::optional<BoardKey> key = [&event]() -> std::optional<BoardKey> {
        switch (event.key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return BoardKey::Action;
        case Qt::Key_Left:
            return BoardKey::Left;
        case Qt::Key_Right:
            return BoardKey::Right;
        case Qt::Key_Up:
            return BoardKey::Up;
        case Qt::Key_Down:
            return BoardKey::Down;
        case Qt::Key_R:
            return BoardKey::Turn;
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
            return BoardKey::Discard;
        default:
            return std::nullopt;
        }
    }();
    if (!key)
        return false;
    flow_.Key(*key);
    Sync();
    return true;
}
