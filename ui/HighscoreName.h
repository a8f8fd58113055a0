#pragma once
// What a name in the high-score table may be. A name is limited to 25
// characters (code points, so that a character outside the basic plane is
// never cut in half) while it is typed; a longer name that is already stored
// is kept as it is. Line breaks and other control characters never go into a
// name: in the table they would be drawn over the next row.
#include <QString>
#include <QValidator>

class QLineEdit;

constexpr int MaxTypedNameLength = 25;

// The number of characters (code points) in the text.
int NameLength(QStringView text);

// True when the text holds a control character or a line or paragraph break.
bool HasLineControl(QStringView text);

// The name as it may be shown and proposed: each control character or break
// a blank.
QString DrawableName(const QString& name);

// Guards the name box: refuses typed or pasted text with control characters,
// and text longer than 25 characters unless the proposed name was longer
// already and the player has not made it longer (deleting from it is fine).
class HighscoreNameValidator : public QValidator {
    Q_OBJECT
public:
    // Installs itself on the edit box and follows what the player types there.
    explicit HighscoreNameValidator(QLineEdit* edit);

    // Puts the name into the box as proposed: never cut, whatever its length,
    // with any control characters shown as blanks.
    void Propose(const QString& name);

    State validate(QString& input, int& pos) const override;

private:
    QLineEdit* edit_;
    // The longest the text may be: 25, or the proposed name's length, shrinking
    // with it as the player deletes.
    int ceiling_ = MaxTypedNameLength;
};
