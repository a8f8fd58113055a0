#pragma once
// The main window's keeper ("FormKeeper1"): keeps the window at least
// 640 x 480 pixels large (outer size), puts it back where it was at the end
// of the last run, saves its placement when it goes, and plays the opening
// effect when it is shown.
//
// The frame belongs to the window manager and is known only once the window
// has been framed, after its first showing (and where there is no window
// manager, there is none). Until then the window is placed by its client
// area; as soon as the frame is known, the centring or the keeping on the
// desktop is done once more with the outer rectangle.
//
// Where the program cannot place its windows (Wayland: the compositor places
// them and tells no one where), only the stored size is restored, and the
// stored place is written back as it was, for the next run where windows
// have places.
#include "settings/SettingKeys.h"
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <optional>

#include "settings/TIniCtrl.h"
#include "ui/toolkit/WindowSystem.h"

class TIniCtrl;

class FormKeeper : public QObject
{
    Q_OBJECT

public:
    static constexpr QSize SmallestOuterSize{640, 480};

    // The keeper belongs to the window and lives as long as it does.
    // placesWindows: whether the window system lets the program place windows.
    FormKeeper(QWidget* form, TIniCtrl& ini, bool placesWindows = ProgramPlacesWindows());

    // Before the window is first shown: the stored rectangle, bounded to the
    // available desktop and kept on it, or the window centred on the screen
    // at its current size. The current maximised or normal state stays as it
    // is.
    void RestorePlacement();

    // When the window goes: writes "MainForm" from the current placement and
    // deletes the two values that belonged with it in earlier versions.
    void SavePlacement();
    // The same as changes to the store, for a close that writes them
    // together with the other settings.
    QList<TIniCtrl::Change> PlacementChanges() const;

    // The value name of the placement in the "common" section.
    static QString PlacementKey() { return SettingKey::MainWindowPlacement(); }

    // The frame's share of each edge; empty until the window has been framed.
    QMargins Frame() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Placed { NotYet, Centred, Restored, Final };

    void UpdateMinimumSize();
    // Once, when the frame has become known: the same placement again with
    // the outer rectangle.
    void PlaceWithFrame();
    // The client rectangle that puts this outer rectangle on the desktop.
    QRect OnDesktop(const QRect& outer, const QMargins& frame) const;
    void SetNormalGeometry(const QRect& normal);

    QPointer<QWidget> form_;
    TIniCtrl& ini_;
    const bool placesWindows_;
    // The stored place, where the window system does not tell the real one.
    std::optional<QPoint> storedTopLeft_;
    Placed placed_ = Placed::NotYet;
    // Without a frame, the outer size is the client size; the smallest size
    // then never exceeds the size the program gave the window, so that the
    // designed 701 x 462 stays as it is where there is no frame to add to it.
    QSize unframedSmallest_;
};
