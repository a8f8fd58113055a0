#pragma once
// Shared by the help tests: a viewer that records what it is asked, and a
// way to answer a modal message box from inside the test.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QVector>
#include <functional>

#include "help/HelpViewer.h"
#include "help/hh.h"

struct FakeViewer : HelpViewer {
    struct Shown {
        QString file;
        quint32 context;
    };
    QVector<Shown> shown;
    QVector<Shown> followed;
    int closeAllCount = 0;

    QWidget* ShowContext(const QString& helpFile, quint32 context) override
    {
        shown.push_back({helpFile, context});
        return nullptr;
    }
    void CloseAll() override { ++closeAllCount; }
    void FollowContext(const QString& helpFile, quint32 context) override { followed.push_back({helpFile, context}); }
};

// Installs the fake for the lifetime of this object.
struct FakeViewerInstalled {
    FakeViewer viewer;
    HelpViewer* previous = SetHelpViewer(&viewer);
    ~FakeViewerInstalled() { SetHelpViewer(previous); }
};

// What a message box showed when it was answered.
struct AnsweredBox {
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Waits (in the event loop the box runs) for the next modal message box,
// records it and presses its OK button. Gives up after `attempts` turns of
// the event loop, so a box that never comes cannot hang the test.
inline void AnswerNextMessageBox(AnsweredBox& answer, int attempts = 200)
{
    QTimer::singleShot(0, [&answer, attempts] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (attempts > 0)
                AnswerNextMessageBox(answer, attempts - 1);
            return;
        }
        answer.seen = true;
        answer.title = box->windowTitle();
        answer.text = box->text();
        answer.icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
}
