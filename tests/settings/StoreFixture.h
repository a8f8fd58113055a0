#pragma once
// Shared by the settings tests: a private, empty settings store for every
// test, direct access to its file for hand-made contents, and a recorder in
// place of the standard error box.
#include "settings/TIniCtrl.h"
#include "settings/ErrorReport.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

class StoreFixture
{
public:
    // Must run before anything opens a QSettings: the store's folder is
    // looked up once per process.
    void SetUpProcess()
    {
        QVERIFY(home_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.path()));
        // The registry's counterpart (Windows): a test key of this store's own.
        qputenv("TANGRIX_TEST_STORE", QFile::encodeName(home_.path()));
        SetErrorReporter([this](const QString& message) { errors.append(message); });
    }

    // An empty store and no recorded errors, as at the start of a run.
    void Reset()
    {
        RestoreFolder();
        QDir(home_.path()).removeRecursively();
        QDir().mkpath(home_.path());
        errors.clear();
        TIniCtrl::ResetFailureNotice();
    }

    QString Folder() const { return home_.path() + QStringLiteral("/Orvane"); }
    QString File() const { return Folder() + QStringLiteral("/Tangrix V2.conf"); }

    void WriteFile(const QByteArray& content) const
    {
        QDir().mkpath(Folder());
        QFile file(File());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    QByteArray ReadFile() const
    {
        QFile file(File());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Makes the store's folder read-only; false if writing is still possible
    // there (as for root), so that the caller can skip.
    bool MakeFolderReadOnly()
    {
        QDir().mkpath(Folder());
        QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::ExeOwner);
        folderLocked_ = true;
        QFile probe(Folder() + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            return false;
        }
        return true;
    }

    // Puts a plain file where the store's folder belongs: nothing can be
    // written or read there, whoever runs the test.
    void BlockFolderWithFile() const
    {
        QFile blocker(Folder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }

    void RestoreFolder()
    {
        if (folderLocked_)
            QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        folderLocked_ = false;
    }

    // The messages recorded are `count` ones, the last naming the store's
    // file and saying `gist` (a word of its text, in the language of the
    // moment).
    void CheckTold(const char* gist, qsizetype count = 1) const
    {
        QCOMPARE(errors.size(), count);
        const QString& message = errors.last();
        QVERIFY2(message.contains(File()) && message.contains(QString::fromUtf8(gist)), qPrintable(message));
    }

    QStringList errors;

private:
    QTemporaryDir home_;
    bool folderLocked_ = false;
};
