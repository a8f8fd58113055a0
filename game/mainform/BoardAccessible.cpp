#include "game/mainform/BoardAccessible.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWindow>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

QHash<const QObject*, BoardAccessibility*>& Boards()
{
    static QHash<const QObject*, BoardAccessibility*> boards;
    return boards;
}

// The time bar: painted by the board, so an element without a widget of its own.
class TimeBarAccessible final : public QAccessibleInterface, public QAccessibleValueInterface {
public:
    explicit TimeBarAccessible(QWidget* board) : board_(board) {}

    bool isValid() const override { return Owner() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return board_ ? board_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(board_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        const BoardAccessibility* owner = Owner();
        if (!owner)
            return {};
        switch (t) {
        case QAccessible::Name:
            return owner->TimeBarName();
        case QAccessible::Value:
            return QStringLiteral("%1 %").arg(owner->TimePercent());
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        const BoardAccessibility* owner = Owner();
        return owner ? owner->TimeBarOnScreen() : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::ProgressBar; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.readOnly = true;
        s.invisible = !board_->isVisible();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this) : nullptr;
    }

    QVariant currentValue() const override
    {
        const BoardAccessibility* owner = Owner();
        return owner ? owner->TimePercent() : 0;
    }
    void setCurrentValue(const QVariant&) override {} // the clock is the game's
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 0; }

private:
    const BoardAccessibility* Owner() const { return board_ ? BoardAccessibility::For(board_) : nullptr; }

    QPointer<QWidget> board_;
};

// The board: a canvas that takes the keys, described in words.
class BoardAccessible final : public QAccessibleWidget {
public:
    explicit BoardAccessible(QWidget* board) : QAccessibleWidget(board, QAccessible::Canvas) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description)
            if (const BoardAccessibility* owner = BoardAccessibility::For(object()))
                return owner->Description();
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return TimeBar() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override { return index == 0 ? TimeBar() : nullptr; }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child == TimeBar() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        QAccessibleInterface* bar = TimeBar();
        return bar && bar->rect().contains(x, y) ? bar : nullptr;
    }

private:
    QAccessibleInterface* TimeBar() const
    {
        BoardAccessibility* owner = BoardAccessibility::For(object());
        return owner ? owner->TimeBar() : nullptr;
    }
};

// The main window is a plain widget, which screen readers would take for a
// nameless filler: it is the program's frame, named by its caption.
QAccessibleInterface* MainWindowFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("Tmainform") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    if (className == QLatin1String("PaintBox") && BoardAccessibility::For(object))
        return new BoardAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

BoardAccessibility::BoardAccessibility(QWidget& board, BoardReading reading)
    : board_(board), reading_(std::move(reading))
{
    static const bool installed = (QAccessible::installFactory(MainWindowFactory), true);
    Q_UNUSED(installed);
    Boards().insert(&board_, this);
}

BoardAccessibility::~BoardAccessibility()
{
    Boards().remove(&board_);
    if (timeBarId_)
        QAccessible::deleteAccessibleInterface(timeBarId_);
}

BoardAccessibility* BoardAccessibility::For(const QObject* board)
{
    return Boards().value(board, nullptr);
}

void BoardAccessibility::SetTimeBarName(const QString& name)
{
    if (name == timeBarName_)
        return;
    timeBarName_ = name;
    if (timeBarId_ && QAccessible::isActive()) {
        QAccessibleEvent event(TimeBar(), QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

int BoardAccessibility::TimePercent() const
{
    return std::clamp(int(std::lround(reading_.timeLeft() * 100.0f)), 0, 100);
}

QRect BoardAccessibility::TimeBarOnScreen() const
{
    const QRect bar = reading_.timeBar();
    return QRect(board_.mapToGlobal(bar.topLeft()), bar.size());
}

QAccessibleInterface* BoardAccessibility::TimeBar()
{
    if (!timeBarId_)
        timeBarId_ = QAccessible::registerAccessibleInterface(new TimeBarAccessible(&board_));
    return QAccessible::accessibleInterface(timeBarId_);
}

void BoardAccessibility::Follow()
{
    if (!QAccessible::isActive())
        return;
    if (const QString description = Description(); description != toldDescription_) {
        toldDescription_ = description;
        QAccessibleEvent event(&board_, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
    if (const int percent = TimePercent(); percent != toldPercent_) {
        toldPercent_ = percent;
        QAccessibleValueChangeEvent event(TimeBar(), percent);
        QAccessible::updateAccessibility(&event);
    }
}
