#pragma once

#include "app/PageSet.h"
#include "pages/PageContext.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/PageContract.h"

#include <QByteArray>

#include <random>
#include <vector>

namespace Binding {
struct Row;
}

namespace TestSupport {

// The program's own pages over a copy of the demo game, built without a
// window and loaded as at start-up (PagesLoaded set).
struct AllPages {
    OpenDemoGame demo;
    RecordingShell shell;
    PageContext context{demo.rt, shell, {}};
    PageSet pages{context, {}};

    AllPages();
    // The same over these profiles in place of the demo game's (empty: the
    // demo game's own file).
    AllPages(const QByteArray& userIni, const QByteArray& gameIni);

    // Every binding row of every page, page by page in the order of a Save.
    std::vector<const Binding::Row*> rows() const;

private:
    void loadAll();
};

// Moves a row's control to a random value it can hold: text in the game's
// code page, a position in the control's range, another item or option.
// The value may happen to be the one it had.
void editRandomly(const Binding::Row& row, std::mt19937& random);

} // namespace TestSupport
