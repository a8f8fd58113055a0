#pragma once
// The main window's keeper ("FormKeeper1"): keeps the window at least
// 640 x 480 pixels large (outer size), puts it back where it was at the end
// of the last run, saves its placement when it goes, and plays the opening
// effect when it is shown.
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QWidget>

class TIniCtrl;

class TFormKeeper : public QObject
{
    Q_OBJECT

public:
    static constexpr QSize SmallestOuterSize{640, 480};

    // The keeper belongs to the window and lives as long as it does.
    TFormKeeper(QWidget* form, TIniCtrl& ini);

    // Before the window is first shown: the stored rectangle, kept on the
    // desktop, or the window centred on the screen at its current size. The
    // current maximised or normal state stays as it is.
    void RestorePlacement();

    // When the window goes: writes "MainForm" from the current placement and
    // deletes the two values that belonged with it in earlier versions.
    void SavePlacement();

    // The value name of the placement in the "common" section.
    static QString PlacementKey() { return QStringLiteral("MainForm"); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The frame is only known once the window manager has framed the window;
    // until then (and where there is no frame) it counts as the client area.
    void UpdateMinimumSize();

    QPointer<QWidget> m_form;
    TIniCtrl& m_ini;
};
