#pragma once
// The drawing a scheme save stores: one record of the scheme file per bus,
// line section and transformer on the scene, as it is drawn now.

#include "store/sxema.h"

#include <QColor>
#include <QSet>
#include <QString>

class DiagramScene;
class QGraphicsItem;

// "rgb(" red "," green "," blue ")": a background colour as the scheme file
// keeps it.
QString rgbText(const QColor& color);

// The scene's line (its own codes, whatever line is current now) with the
// background text and a record per element, in the scene's stacking order
// from the top: its place, size, voltages and keys, and its label's place
// and hide flag ("0", "0", "0" without a label). A line section's vertices
// are written where they are drawn, also after the line was moved whole.
// only, when given, limits the records to those items.
SxemaLin drawnScheme(const DiagramScene& scene, const QString& background,
                     const QSet<const QGraphicsItem*>* only = nullptr);
