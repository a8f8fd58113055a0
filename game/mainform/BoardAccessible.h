#pragma once
// The main window as assistive technology (a screen reader) finds it: a named
// frame, and in it the board as one element. The board's name says what it
// is; its description is the board in words, as a player sees it now; its
// one child is the time bar, a progress value from 0 to 100 (a full clock).
//
// The window tells it after every event. It tells listeners only what
// changed, and does nothing at all while no assistive technology listens, so
// a game without one pays for nothing but a check.
#include <QRect>
#include <QString>
#include <functional>

class QAccessibleInterface;
class QObject;
class QWidget;

// What the board element reads from the window it belongs to.
struct BoardReading {
    std::function<QString()> description;
    std::function<float()> timeLeft; // 1 full, below 0 run out
    std::function<QRect()> timeBar;  // in the board widget's pixels
};

class BoardAccessibility {
public:
    BoardAccessibility(QWidget& board, BoardReading reading);
    ~BoardAccessibility();
    BoardAccessibility(const BoardAccessibility&) = delete;
    BoardAccessibility& operator=(const BoardAccessibility&) = delete;

    // After every event: a changed description or time value is announced.
    void Follow();
    // The time bar's name in the current language (the board's is the widget's own).
    void SetTimeBarName(const QString& name);

    QString Description() const { return reading_.description(); }
    QString TimeBarName() const { return timeBarName_; }
    // The time left in whole percent of a full clock, 0..100.
    int TimePercent() const;
    // The time bar on the screen.
    QRect TimeBarOnScreen() const;
    QAccessibleInterface* TimeBar();

    // The accessibility of a board widget; none once its window has gone.
    static BoardAccessibility* For(const QObject* board);

private:
    QWidget& board_;
    BoardReading reading_;
    QString timeBarName_;
    unsigned timeBarId_ = 0; // the time bar's interface, once made
    QString toldDescription_;
    int toldPercent_ = -1;
};
