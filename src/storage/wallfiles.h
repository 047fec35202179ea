#pragma once

#include "storage/records.h"
#include "storage/walltext.h"

#include <QSize>
#include <QString>
#include <optional>

// Reading and writing the files of a wall folder. Readers throw RecordError
// naming the file when a file exists but cannot be read, is neither UTF-8 nor
// clean Shift_JIS, or holds a record that does not convert; a missing file is
// not an error and reads as "none". Writers go through the atomic writer and
// return false (with a reason) when the file could not be written, in which
// case the old file is still whole.

std::optional<DecodedWallText> readWallText(const QString& path);
// The same for bytes already read from `path`.
struct FileRead;
std::optional<DecodedWallText> wallTextFrom(const FileRead& read, const QString& path);

QVector<PosterRecord> readCardFile(const QString& path);
std::optional<PanelRecord> readPanelFile(const QString& path);
std::optional<UrlRecord> readUrlFile(const QString& path);
std::optional<MaskRecord> readMaskFile(const QString& path);

// The width and height stored in a card file's last record, in reference
// units; none when the file holds no record or cannot be read.
std::optional<QSize> CARD(const QString& path);

bool writeCardFile(const QString& path, const PosterRecord& r, QString* errorText = nullptr);
// A new card's file, written only where there is none (`*taken` set then).
bool writeNewCardFile(const QString& path, const PosterRecord& r, bool* taken,
                      QString* errorText = nullptr);
bool writePanelFile(const QString& path, const PanelRecord& r, QString* errorText = nullptr);
bool writeUrlFile(const QString& path, const UrlRecord& r, QString* errorText = nullptr);
bool writeMaskFile(const QString& path, const MaskRecord& r, QString* errorText = nullptr);

// The program's description of the card and background records (MEMO); never
// written into a file. Each line ends in a carriage return.
QString headerText();
