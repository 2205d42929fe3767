#pragma once

#include "archive/ArchiveChart.h"
#include "archive/ArchiveFigures.h"

#include <QSize>
#include <QString>

// The archive's chart saved as a picture: PNG (a bitmap of the given size)
// or SVG (drawings that scale, from Qt SVG). Files are replaced atomically;
// false with "Cannot create file <name>" when one cannot be written.
namespace ArchiveChartFiles {

inline constexpr QSize kPngSize{1600, 1000};
inline constexpr QSize kSvgSize{800, 500};

bool savePng(const ArchiveFigures &figures, const QString &fileName, QSize size = kPngSize,
             QString *error = nullptr);
bool saveSvg(const ArchiveFigures &figures, const QString &fileName, const QString &title, QSize size = kSvgSize,
             QString *error = nullptr);

} // namespace ArchiveChartFiles
