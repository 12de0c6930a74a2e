// The catalogue of every picture the client shows: its resource key, its size and how to draw it.
#pragma once

#include <QPainter>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

namespace tallow::art {

struct Picture {
  QString key;     // resource id ("201") or name ("background"); the file is <key>.png
  QString family;  // groups pictures on the contact sheet
  QSize size;
  std::function<void(QPainter&)> draw;  // paints onto a transparent canvas of `size`
};

using Catalogue = std::vector<Picture>;

// Each family adds its pictures to the catalogue.
void AddTiles(Catalogue& out);
void AddToolbarButtons(Catalogue& out);
void AddSmallToolbarButtons(Catalogue& out);
void AddCoverButtons(Catalogue& out);
void AddDialogButtons(Catalogue& out);
void AddClaimButtons(Catalogue& out);
void AddDice(Catalogue& out);
void AddBanners(Catalogue& out);
void AddBubbles(Catalogue& out);
void AddPortraits(Catalogue& out);
void AddIndicators(Catalogue& out);
void AddTableMarks(Catalogue& out);
void AddTable(Catalogue& out);
void AddShell(Catalogue& out);

// The whole catalogue, in resource order: numbered pictures first, then named ones.
Catalogue FullCatalogue();

// Draws one picture onto a fresh transparent image of its size, enlarged or reduced `scale`
// times (the drawing is vector work, so it stays sharp at any size).
QImage Render(const Picture& picture, double scale = 1.0);

}  // namespace tallow::art
