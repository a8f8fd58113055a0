#pragma once
// An ordered, 0-based list of complete RIFF WAVE images held in memory.
#include <QByteArray>
#include <QList>
#include <QString>

class TWaveList {
public:
    TWaveList() = default;
    explicit TWaveList(QList<QByteArray> items) : items_(std::move(items)) {}

    // Loads "<folder>/0.wav", "<folder>/1.wav", ... until one is missing.
    static TWaveList FromResourceFolder(const QString& folder);

    int Count() const { return int(items_.size()); }
    const QByteArray& Item(int index) const { return items_.at(index); }

private:
    QList<QByteArray> items_;
};
