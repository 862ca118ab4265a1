// The whole menu for 24 hours of virtual time on the headless backend: banners rotate on their
// timer while a scripted user opens categories, pages through programs, searches, opens the info
// page and the full-screen view, over and over. Live allocations (this program replaces the global
// operator new and delete to count them), open file descriptors and live timers are taken after
// the first hour and at the end; none may grow beyond a small fixed allowance.
#include <dirent.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "app/SuchenForm.h"
#include "app/VollbildForm.h"
#include "flat/FlatEdit.h"
#include "gui/Keys.h"
#include "tests/support/MenuFixture.h"

// ---- counting allocator ---------------------------------------------------------------------------

namespace {
std::atomic<long long> liveAllocations{0};

void* Allocate(std::size_t n) {
    if (void* p = std::malloc(n ? n : 1)) {
        liveAllocations.fetch_add(1, std::memory_order_relaxed);
        return p;
    }
    throw std::bad_alloc();
}
void* AllocateAligned(std::size_t n, std::align_val_t a) {
    const std::size_t align = std::max(static_cast<std::size_t>(a), sizeof(void*));
    void* p = nullptr;
    if (posix_memalign(&p, align, n ? n : 1) != 0) throw std::bad_alloc();
    liveAllocations.fetch_add(1, std::memory_order_relaxed);
    return p;
}
void Release(void* p) noexcept {
    if (!p) return;
    liveAllocations.fetch_sub(1, std::memory_order_relaxed);
    std::free(p);
}
}  // namespace

void* operator new(std::size_t n) {
    return Allocate(n);
}
void* operator new[](std::size_t n) {
    return Allocate(n);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    try {
        return Allocate(n);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    try {
        return Allocate(n);
    } catch (...) {
        return nullptr;
    }
}
void* operator new(std::size_t n, std::align_val_t a) {
    return AllocateAligned(n, a);
}
void* operator new[](std::size_t n, std::align_val_t a) {
    return AllocateAligned(n, a);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    Release(p);
}

// ---- the run ----------------------------------------------------------------------------------------

namespace {

constexpr std::uint64_t kHour = 3600 * 1000;
// Virtual time one round of the user takes; fewer, longer rounds under the sanitizers, which run
// the same 24 hours several times slower.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::uint64_t kRound = 15 * 60 * 1000;
#else
constexpr std::uint64_t kRound = 6 * 60 * 1000;
#endif

struct Figures {
    long long allocations = 0;
    long long heapBytes = 0;  // malloc's bytes in use: C libraries' allocations count too
    int descriptors = 0;
    std::size_t timers = 0;
};

int OpenDescriptors() {
    int n = 0;
    if (DIR* d = opendir("/proc/self/fd")) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') ++n;
        closedir(d);
    }
    return n - 1;  // the listing's own
}

class Soak {
public:
    Soak() { EXPECT_TRUE(menu.Acquired()); }

    Figures Measure() {
        Figures f;
        f.timers = menu.App()->TimerCount();
        f.descriptors = OpenDescriptors();
        f.allocations = liveAllocations.load();
        f.heapBytes = static_cast<long long>(mallinfo2().uordblks);
        return f;
    }

    // One round of a person using the menu; the clock moves by kRound in total.
    void Round(int n) {
        const std::uint64_t start = Hb().Now();
        // The start page pages through the categories.
        menu.Click("bPfeilUnten");
        Step(1500);
        menu.Click("bPfeilOben");
        Step(1500);
        const int category = 2 + n % 10;
        menu.Click("bRubrik" + std::to_string(category));
        Step(3000);
        categoriesOpened += Main().List().pProgramme()->Visible();
        Hb().SetTarget(Main().Handle());
        Hb().Click(60, 185);  // the second program
        Step(2000);
        Hb().Key(gui::VK_DOWN);
        Step(2000);
        Hb().Wheel(60, 185, -1);
        Step(2000);

        // The screenshot full-screen, closed by a click.
        if (Main().ActionButton("bVollbild")->Visible()) {
            Hb().Post([this] {
                fullScreens += VollbildForm && VollbildForm->Visible();
                Hb().Advance(4000);
                Hb().Click(200, 200);
            });
            menu.Click("bVollbild");
            Step(1000);
        }

        // The info page, left by its close button.
        menu.Click("bInfo");
        Step(5000);
        infoPages += Main().Info().Visible();
        menu.Click(Main().Info().bBeenden());
        Step(1000);

        // A search: a term with hits, one without (its message box is answered by default).
        static const char* const terms[] = {"Foto", "Spiel", "Windows", "xyzzy"};
        const std::string term = terms[n % 4];
        Hb().Post([this, term] {
            if (!SuchenForm || !SuchenForm->Visible()) return;
            SuchenForm->eSuchbegriff->SetCaption(term);
            const gfx::TPoint p = MenuFixture::Centre(SuchenForm->bBeenden);
            Hb().SetTarget(SuchenForm->Handle());
            Hb().Click(p.X, p.Y);
        });
        menu.Click("bSuche");
        Step(3000);
        searchesWithHits += Main().List().lRubrik()->Caption() == "Suchergebnisse";
        Hb().Key(gui::VK_DOWN);
        Step(2000);

        menu.Click("bRubrikauswahl");
        // The rest of the round the menu stands idle; the banners rotate.
        const std::uint64_t spent = Hb().Now() - start;
        if (spent < kRound) Hb().Advance(kRound - spent);
        // The test's own records of boxes, sounds and shell calls are not the program's.
        Hb().ClearRecords();
        menu.ClearSounds();
        menu.Shell().Clear();
    }

    TMainForm& Main() { return *menu.Main(); }
    gui::Automation& Hb() { return menu.Backend(); }
    void Step(std::uint64_t ms) { Hb().Advance(ms); }

    MenuFixture menu;
    int categoriesOpened = 0, fullScreens = 0, infoPages = 0, searchesWithHits = 0;
};

void Print(const char* when, const Figures& f) {
    std::printf("soak %-6s allocations %lld, heap bytes %lld, descriptors %d, timers %zu\n", when,
                f.allocations, f.heapBytes, f.descriptors, f.timers);
}

TEST(Soak, TwentyFourHoursOfUseLeakNothing) {
    Soak soak;
    const std::uint64_t t0 = soak.Hb().Now();
    const Figures atStart = soak.Measure();
    int round = 0;
    while (soak.Hb().Now() - t0 < kHour) soak.Round(round++);
    const Figures afterHour = soak.Measure();
    const int roundsInHour = round;
    while (soak.Hb().Now() - t0 < 24 * kHour) soak.Round(round++);
    const Figures atEnd = soak.Measure();

    Print("start", atStart);
    Print("1 h", afterHour);
    Print("24 h", atEnd);
    std::printf("soak rounds %d (%d in the first hour)\n", round, roundsInHour);

    std::printf(
        "soak pages built %d, categories %d, full-screen views %d, info pages %d, searches with hits %d\n",
        soak.Main().Model().PageBuilds(), soak.categoriesOpened, soak.fullScreens, soak.infoPages,
        soak.searchesWithHits);

    // The user really went round: categories, full-screen views, info pages and searches.
    EXPECT_GE(round, 24 * roundsInHour - 24);
    EXPECT_EQ(soak.categoriesOpened, round);
    EXPECT_EQ(soak.infoPages, round);
    EXPECT_GE(soak.fullScreens, round / 2);
    EXPECT_GE(soak.searchesWithHits, round / 2);
    EXPECT_GE(soak.Main().Model().PageBuilds(), 3 * round);
    EXPECT_TRUE(soak.Main().Visible());

    // After the first hour (caches filled, every form made once) nothing may grow but noise.
    EXPECT_LE(atEnd.allocations - afterHour.allocations, 64) << "live allocations grow";
    EXPECT_LE(atEnd.heapBytes - afterHour.heapBytes, 1 << 20) << "the heap grows";
    EXPECT_LE(atEnd.descriptors, afterHour.descriptors) << "file descriptors are left open";
    EXPECT_LE(atEnd.timers, afterHour.timers) << "timers pile up";
}

}  // namespace
