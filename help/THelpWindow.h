#pragma once
// The game's own help window: shows a topic of the compiled help file, with
// its style sheet, pictures and links read from the same file. A missing or
// damaged file, or a topic the file lacks, gives a short notice instead.
#include <QTextBrowser>

#include "help/TChmFile.h"

class THelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // Opens the help file afresh (it may have been replaced) and shows the
    // topic with this context number, or the notice.
    void ShowContext(const QString& helpFile, quint32 context);

    // Whether a notice is shown in place of a topic.
    bool ShowsNotice() const { return FShowsNotice; }

    // Links inside the file use this scheme: "tngx:/en.html".
    static constexpr const char* kScheme = "tngx";

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    void FollowLink(const QUrl& link);
    void ShowNotice(const QString& text);

    TChmFile FFile;
    bool FShowsNotice = false;
};
