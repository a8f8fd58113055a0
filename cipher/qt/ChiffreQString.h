#pragma once
// The record cipher on the program's own text type: the texts are taken apart
// into code points, passed through the cipher and put together again.
#include <QString>

#include <cstdint>

#include "cipher/Chiffre.h"

void Init(TChiffre& cipher, const QString& alphabet, std::int64_t key);
QString Encipher(const TChiffre& cipher, const QString& text);
QString Decipher(const TChiffre& cipher, const QString& text);
