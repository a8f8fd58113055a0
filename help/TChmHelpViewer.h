#pragma once
// The help viewer where the platform has none: one help window of the game's
// own, opened on demand and closed by close-all.
#include <QPointer>

#include "help/THelpViewer.h"
#include "help/THelpWindow.h"

class TChmHelpViewer : public THelpViewer {
public:
    TChmHelpViewer() = default;
    ~TChmHelpViewer() override;
    TChmHelpViewer(const TChmHelpViewer&) = delete;
    TChmHelpViewer& operator=(const TChmHelpViewer&) = delete;

    QWidget* ShowContext(const QString& helpFile, quint32 context) override;
    void CloseAll() override;

    // The open help window, or nullptr.
    THelpWindow* Window() const { return FWindow; }

private:
    QPointer<THelpWindow> FWindow;
};
