#pragma once
// The game's own help window: shows a topic of the compiled help file, with
// its style sheet, pictures and links read from the same file. A missing or
// damaged file, or a topic the file lacks, gives a short notice instead.
// It has a close button of its own (a window manager may give it no frame)
// and closes with Escape as well.
#include <QTextBrowser>
#include <optional>

#include "help/ChmArchive.h"

class QPushButton;

class HelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Opens the help file afresh (it may have been replaced) and shows the
    // topic with this context number, or the notice.
    void ShowContext(const QString& helpFile, quint32 context);

    // Whether a notice is shown in place of a topic.
    bool ShowsNotice() const { return showsNotice_; }
    // The context number of the last ShowContext; 0 before the first.
    quint32 Context() const { return context_; }
    QPushButton* CloseButton() const { return closeButton_; }

    // Links inside the file use this scheme: "tngx:/en.html".
    static constexpr const char* kScheme = "tngx";

signals:
    // The player closes the window (by its button, Escape or the window
    // manager); it is still where the player left it.
    void Closing();

protected:
    QVariant loadResource(int type, const QUrl& name) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Where the reader is: the heading at or above the top of the view (-1
    // before the first), and how far into its section, 0..1.
    struct SectionPlace {
        int heading = -1;
        qreal within = 0;
    };
    SectionPlace ReadingPlace();
    void GoTo(const SectionPlace& place);

    void FollowLink(const QUrl& link);
    void ShowNotice(const QString& text);
    // The close button's text in the current language, in a strip above the page.
    void SetUpCloseButton();
    void PlaceCloseButton();

    static constexpr int CloseButtonGap = 4;

    ChmArchive file_;
    bool showsNotice_ = false;
    quint32 context_ = 0;
    QPushButton* closeButton_ = nullptr;
};
