#pragma once

#include <QColor>
#include <QPoint>
#include <QSize>

class QScrollArea;
class QTabBar;
class QWidget;
class ReferenceView;

// Where one page shows its stored document.
struct ReferencePage {
    const char* resource; // the stored record among the program's resources
    QSize naturalSize;    // the document at its natural size, in pixels
    QPoint offset;        // the document's place inside the scrolled area
    int initialScroll;    // vertical offset on first showing, limited to the range
};

// Reads a stored record from the resources; throws EStreamError when missing.
QByteArray ReadStoredRecord(const char* resource);

// Loads the page's document into `area`: the document's view at its offset in
// a plane that reaches to the view's right and bottom edges, so the scroll
// range ends there and a negative offset stays out of reach. The initial
// scroll offset is applied when the area is first shown, once the area knows
// its real range; from then on the position is the user's.
ReferenceView* InstallReferencePage(QScrollArea& area, const ReferencePage& page);

// The colour of a tab caption under the mouse pointer.
inline const QColor kHotTrackColour{0, 102, 204};

// The space beside a tab caption, in pixels, so that every tab fits one row.
inline constexpr int kReferenceTabSpace = 6;

// Makes the caption of the tab under the mouse pointer take kHotTrackColour,
// and keeps all tabs in one row without scroll arrows.
void SetUpReferenceTabs(QTabBar& bar);
