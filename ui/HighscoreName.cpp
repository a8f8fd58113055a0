#include "ui/HighscoreName.h"

#include <QLineEdit>

#include <algorithm>

namespace {
bool IsLineControl(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}
} // namespace

int NameLength(QStringView text)
{
    return int(text.toUcs4().size());
}

bool HasLineControl(QStringView text)
{
    const QList<uint> characters = text.toUcs4();
    return std::any_of(characters.cbegin(), characters.cend(), [](uint c) { return IsLineControl(char32_t(c)); });
}

QString DrawableName(const QString& name)
{
    if (!HasLineControl(name))
        return name;
    QList<uint> characters = name.toUcs4();
    for (uint& c : characters) {
        if (IsLineControl(char32_t(c)))
            c = u' ';
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), characters.size());
}

HighscoreNameValidator::HighscoreNameValidator(QLineEdit* edit) : QValidator(edit), edit_(edit)
{
    edit_->setValidator(this);
    // Only what the player does lowers the ceiling, so a long proposed name
    // can be shortened but not grown again.
    connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        ceiling_ = std::max(MaxTypedNameLength, std::min(ceiling_, NameLength(text)));
    });
}

void HighscoreNameValidator::Propose(const QString& name)
{
    const QString shown = DrawableName(name);
    ceiling_ = std::max(MaxTypedNameLength, NameLength(shown));
    edit_->setText(shown);
}

QValidator::State HighscoreNameValidator::validate(QString& input, int&) const
{
    if (HasLineControl(input) || NameLength(input) > ceiling_)
        return Invalid;
    return Acceptable;
}
