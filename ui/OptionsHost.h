#pragma once
// What the options window needs from the main window: the background variant
// it switches, the repaint and re-wording after a change, and the music.
// The main window implements it; tests use a fake.
#include <QString>

class QWidget;

class OptionsHost {
public:
    virtual ~OptionsHost() = default;

    // The window the dialog centres itself over.
    virtual QWidget* MainWindow() = 0;
    // Background variant 0..6.
    virtual int BackMode() const = 0;
    virtual void SetBackMode(int mode) = 0;
    // Re-textures and repaints the main window for the current variant.
    virtual void Resize() = 0;
    // Re-words the main window in the current language.
    virtual void ApplyLanguage() = 0;
    // Switches the music off, or on to the next piece. False when the next
    // piece failed to open (the error has been shown already).
    virtual bool SwitchMusic() = 0;
    virtual bool MusicFilesFound() const = 0;
    // False when the synthesiser or its sound font is missing.
    virtual bool MusicAvailable() const = 0;
    // The current piece, without its directory.
    virtual QString MusicFileName() const = 0;
};
