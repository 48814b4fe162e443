// The process window on the real system: ProcessHost.exe and the window's binding, looked at and
// worked by uidriver with real input, as a user would.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "bench.h"
#include "bitmap.h"
#include "probe.h"
#include "process_window/design.h"
#include "ui.h"
#include "window_app.h"

namespace {

using namespace harness;
using ::testing::HasSubstr;
using ::testing::StartsWith;

int Pixels(std::int32_t twips, int dpi) {
    return static_cast<int>((static_cast<long long>(twips) * dpi + 720) / 1440);
}

std::string Narrow(const wchar_t* text) {
    std::string narrow;
    for (const wchar_t* c = text; *c != 0; ++c) {
        const auto code = static_cast<unsigned>(*c);
        if (code < 0x80) {
            narrow += static_cast<char>(code);
        } else {  // the design's captions use Latin-1 only
            narrow += static_cast<char>(0xC0 | (code >> 6));
            narrow += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return narrow;
}

const char* ClassOf(frm::Kind kind) {
    switch (kind) {
        case frm::Kind::Panel:
            return "ZarvikPanel";
        case frm::Kind::Frame:
            return "ZarvikFrame";
        case frm::Kind::ListBox:
            return "ListBox";
        case frm::Kind::OptionButton:
        case frm::Kind::CommandButton:
            return "Button";
        case frm::Kind::TextBox:
            return "Edit";
        case frm::Kind::Label:
            return "Static";
        case frm::Kind::Image:
            return "ZarvikImage";
        case frm::Kind::Timer:
            break;
    }
    return "";
}

// Whether the control and every container it lies in are visible at creation.
bool ShownAtCreation(const frm::ControlDesign& design) {
    for (const frm::ControlDesign* d = &design;; d = &frm::DesignOf(*d->container)) {
        if (!d->visible) {
            return false;
        }
        if (!d->container) {
            return true;
        }
    }
}

bool PanelVisible(const std::string& window) {
    return ControlOf(window, "1011").visible;
}

TEST(ProcessWindowOnWine, OpensMaximizedWithEveryControlWhereTheDesignPutsIt) {
    HostedWindow host;
    std::vector<ProbeAnswer> answers;
    Drive({{"window", host.window()}, {"controls", host.window()}}, &answers);
    EXPECT_THAT(answers[0].value, StartsWith("maximized=1 menu=0 "));
    EXPECT_THAT(answers[0].value, HasSubstr(" title=Ausführung"));
    const int dpi = std::stoi(answers[0].value.substr(answers[0].value.find("dpi=") + 4));
    const auto shown = ParseAll(answers[1].value);

    for (const frm::ControlDesign& design : frm::kControls) {
        if (design.kind == frm::Kind::Timer) {
            continue;
        }
        const int id = frm::ControlWindowId(design.id);
        SCOPED_TRACE(Narrow(design.name) + " " + std::to_string(id));
        ASSERT_EQ(shown.count(id), 1u);
        const Shown& control = shown.at(id);
        EXPECT_EQ(control.windowClass, ClassOf(design.kind));
        EXPECT_EQ(control.text, Narrow(design.caption));
        EXPECT_EQ(control.visible, ShownAtCreation(design));
        EXPECT_EQ(control.enabled, design.enabled);
        EXPECT_EQ(control.parent, design.container ? frm::ControlWindowId(*design.container) : 0);
        if (design.kind == frm::Kind::OptionButton) {
            EXPECT_EQ(control.check, design.value ? "1" : "0");  // BM_GETCHECK
        }
        if (design.dockedTop || design.kind == frm::Kind::Image) {
            continue;  // placed by the window's size, below
        }
        EXPECT_EQ(control.left, Pixels(design.left, dpi));
        EXPECT_EQ(control.top, Pixels(design.top, dpi));
        EXPECT_EQ(control.width, Pixels(design.width, dpi));
        EXPECT_EQ(control.height, Pixels(design.height, dpi));
    }
    // The strip is docked to the top, as wide as the client area; the picture lies below it,
    // from the window's outer width.
    const int client = std::stoi(answers[0].value.substr(answers[0].value.find("client=") + 7));
    const Shown& strip = shown.at(1000);
    EXPECT_EQ(strip.left, 0);
    EXPECT_EQ(strip.top, 0);
    EXPECT_EQ(strip.width, client);
    EXPECT_EQ(strip.height, Pixels(1515, dpi));
    const Shown& picture = shown.at(1027);
    EXPECT_EQ(picture.left, 0);
    EXPECT_EQ(picture.top, strip.height);
    EXPECT_GT(picture.width, client);  // the outer width reaches past the client area
    EXPECT_EQ(host.Close(), 0);        // ProcessFinished is False
}

TEST(ProcessWindowOnWine, FontsAndIconAreTheDesigns) {
    const Outcome described =
        Bench::Get().Wine(Bench::Get().Executable("form_host"), {"describe"}, 30s);
    ASSERT_EQ(described.exitCode, 0) << described.err;
    std::map<int, Shown> shown;
    std::string window;
    for (const auto& line : Lines(described.out)) {
        const Record record = ParseRecord(line);
        const std::string rest = Unescaped(line.substr(line.find('\t') + 1));
        if (record.kind == "window") {
            window = rest;
        } else if (record.kind == "control") {
            const Shown control = Parse(rest);
            shown[control.id] = control;
        }
    }
    EXPECT_THAT(window, HasSubstr(" icon=16x16x"));  // the colour depth is the display's
    const int dpi = std::stoi(window.substr(window.find("dpi=") + 4));
    for (const frm::ControlDesign& design : frm::kControls) {
        if (design.kind == frm::Kind::Timer || design.kind == frm::Kind::Panel ||
            design.kind == frm::Kind::Image || design.kind == frm::Kind::Frame) {
            continue;  // no text of their own in a font the system keeps for them
        }
        const frm::Font& font = design.font.face != nullptr ? design.font : frm::kFormDesign.font;
        SCOPED_TRACE(Narrow(design.name));
        const Shown& control = shown.at(frm::ControlWindowId(design.id));
        EXPECT_EQ(control.face, Narrow(font.face));
        EXPECT_EQ(control.fontHeight, -((font.hundredthsOfPoints * dpi + 3600) / 7200));
        EXPECT_EQ(control.weight, font.weight);
        EXPECT_EQ(control.underline, font.underline);
    }
}

TEST(ProcessWindowOnWine, ThePictureFillsTheWindowBelowTheStripStretched) {
    HostedWindow host;
    const auto shot = Bench::Get().NewFolder("picture") / "screen.bmp";
    std::vector<ProbeAnswer> answers;
    Drive({{"control", host.window(), "1027"},
           {"origin", host.window(), "1027"},
           {"shot", WinePath(shot)}},
          &answers);
    const Shown picture = Parse(answers[0].value);
    const int x0 = std::stoi(answers[1].value);
    const int y0 = std::stoi(answers[1].value.substr(answers[1].value.find(',') + 1));
    const Bitmap screen(shot);
    // Places of the 500 x 345 picture, as resources/make_pictures.py draws it, stretched to the
    // control's size.
    const auto at = [&](int x, int y) {
        return screen.At(x0 + x * picture.width / 500, y0 + y * picture.height / 345);
    };
    const Rgb sky = at(5, 5);
    EXPECT_LT(sky.red, 60);
    EXPECT_GT(sky.blue, sky.red + 20);
    const Rgb bar = at(250, 303);  // the orange bar near the bottom
    EXPECT_GT(bar.red, 200);
    EXPECT_LT(bar.blue, 100);
    const Rgb marker = at(280, 159);  // the green marker of the second line
    EXPECT_GT(marker.green, 180);
    EXPECT_LT(marker.red, 170);
    const Rgb hub = at(400, 130);  // the hole in the large gear shows the sky
    EXPECT_LT(hub.red, 100);
}

TEST(ProcessWindowOnWine, AltF10ShowsAndHidesThePanelAboveTheListWhateverHasTheFocus) {
    HostedWindow host;
    const std::string& w = host.window();
    EXPECT_FALSE(PanelVisible(w));
    const int dpi = 96;  // the bench's display
    const std::string inList = std::to_string(Pixels(7000, dpi));
    EXPECT_EQ(Drive({{"at", w, inList, "20"}}).value, "1026");  // List1

    Drive({{"keys", w, "alt+f10"}});
    EXPECT_TRUE(PanelVisible(w));
    EXPECT_NE(Drive({{"at", w, inList, "20"}}).value, "1026");  // the panel lies above it
    for (const char* other : {"f10", "shift+alt+f10", "ctrl+alt+f10", "alt-first"}) {
        Drive({{"keys", w, other}});
        EXPECT_TRUE(PanelVisible(w)) << other;
    }
    // Whichever control has the focus: a text box, a button, the strip.
    for (const char* focus : {"1013", "1021", "1000"}) {
        EXPECT_EQ(Drive({{"focus", w, focus}}).value, focus);
        const bool before = PanelVisible(w);
        Drive({{"keys", w, "alt+f10"}});
        EXPECT_NE(PanelVisible(w), before) << "focus on " << focus;
    }
    if (!PanelVisible(w)) {
        Drive({{"keys", w, "alt+f10"}});
    }
    // Tab and Shift+Tab move the focus in the order of the tab indexes.
    EXPECT_EQ(Drive({{"focus", w, "1013"}}).value, "1013");  // txtStart
    Drive({{"keys", w, "tab"}});
    EXPECT_EQ(Drive({{"focused", w}}).value, "1014");  // cmdShell
    Drive({{"keys", w, "shift+tab"}});
    EXPECT_EQ(Drive({{"focused", w}}).value, "1013");
    // A click on an option button in its frame reaches the window: the other one is cleared.
    Drive({{"click", w, "1018", "5", "5"}});
    EXPECT_EQ(Parse(Drive({{"control", w, "1018"}}).value).check, "1");
    EXPECT_EQ(Parse(Drive({{"control", w, "1020"}}).value).check, "0");
    Drive({{"keys", w, "alt+f10"}});
    EXPECT_FALSE(PanelVisible(w));
    EXPECT_EQ(Drive({{"at", w, inList, "20"}}).value, "1026");
}

// form_host with a job whose top-level window it may adopt; gives its window.
std::string HostWithJob(std::unique_ptr<Child>& child, const std::string& pid) {
    Bench& bench = Bench::Get();
    child = bench.Start(bench.Executable("form_host"), {"window", pid});
    const Record ready = ParseRecord(child->ReadLine(20s));
    EXPECT_EQ(ready.kind, "ready");
    return ready["window"];
}

struct AdoptionCase {
    const char* where;
    const char* control;  // the window ID the click lands on
    int x, y;             // in that control's client area
    bool adopts;
};

class AdoptionOnWine : public ::testing::TestWithParam<AdoptionCase> {};

TEST_P(AdoptionOnWine, AClickOnTheBackgroundAdoptsTheJobsWindowAndOnALabelOrTheListDoesNot) {
    const AdoptionCase& c = GetParam();
    const std::string title = "Jöb Fenster – Äpfel & Birnen";
    WindowApp job({title});
    std::unique_ptr<Child> host;
    const std::string form = HostWithJob(host, job.pid());
    Drive({{"click", form, c.control, std::to_string(c.x), std::to_string(c.y)}});
    std::vector<ProbeAnswer> answers;
    Drive({{"parent", job.windows()[0]}, {"control", form, "1009"}}, &answers);
    if (c.adopts) {
        EXPECT_EQ(answers[0].value, form);  // GetAncestor(GA_PARENT): a child of frmProcess
        EXPECT_EQ(Parse(answers[1].value).text, title);  // lblJob
    } else {
        EXPECT_NE(answers[0].value, form);
        EXPECT_EQ(Parse(answers[1].value).text, "");
    }
    Probe({{"close", form}}, {}, Bench::Get().Executable("uidriver"));
    host->Wait(10s);
}

INSTANTIATE_TEST_SUITE_P(Clicks, AdoptionOnWine,
                         ::testing::Values(AdoptionCase{"picture", "1027", 200, 200, true},
                                           AdoptionCase{"free part of the strip", "1000", 900, 40,
                                                        true},
                                           AdoptionCase{"label", "1008", 5, 5, false},
                                           AdoptionCase{"list", "1026", 20, 20, false}),
                         [](const auto& param) {
                             std::string name = param.param.where;
                             for (auto& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST(ProcessWindowOnWine, OpeningAndClosingTheWindowLeaksNoHandleAndNoGdiObject) {
    const Outcome counted =
        Bench::Get().Wine(Bench::Get().Executable("form_host"), {"resources", "5"}, 60s);
    ASSERT_EQ(counted.exitCode, 0) << counted.err;
    const Record record = ParseRecord(Lines(counted.out).at(0));
    EXPECT_GT(std::stoi(record["gdi-before"]), 0);
    EXPECT_EQ(record["gdi-after"], record["gdi-before"]);
    EXPECT_EQ(record["handles-after"], record["handles-before"]);
}

TEST(ProcessWindowOnWine, ControlsScaleWithTheDisplaysDpi) {
    Bench& bench = Bench::Get();
    const auto setDpi = [&](int dpi) {
        return harness::Run({"wine", "reg", "add", "HKCU\\Control Panel\\Desktop", "/v",
                             "LogPixels", "/t", "REG_DWORD", "/d", std::to_string(dpi), "/f"},
                            bench.WineEnvironment(), 30s);
    };
    ASSERT_EQ(setDpi(144).exitCode, 0);
    const Outcome described = bench.Wine(bench.Executable("form_host"), {"describe"}, 30s);
    setDpi(96);
    std::map<int, Shown> shown;
    for (const auto& line : Lines(described.out)) {
        if (ParseRecord(line).kind == "control") {
            const Shown control = Parse(Unescaped(line.substr(line.find('\t') + 1)));
            shown[control.id] = control;
        }
    }
    ASSERT_EQ(shown.count(1011), 1u);
    EXPECT_THAT(described.out, HasSubstr("dpi=144"));
    EXPECT_EQ(shown.at(1000).height, Pixels(1515, 144));                 // 152 against 101 at 96
    EXPECT_EQ(shown.at(1011).left, Pixels(4800, 144));                   // 480 against 320
    EXPECT_EQ(shown.at(1016).width, Pixels(3465, 144));                  // cmdKill
    EXPECT_EQ(shown.at(1008).fontHeight, -((825 * 144 + 3600) / 7200));  // Arial 8.25 at 144
}

TEST(ProcessHostOnWine, ACommandLineItDoesNotKnowIsAnsweredWithItsUsage) {
    Bench& bench = Bench::Get();
    auto host = bench.Start(bench.Executable("ProcessHost"), {"--bogus"});
    const Outcome box = bench.Wine(bench.Executable("mbdriver"),
                                   {"wait", "--answer", "default", "--timeout", "15000"}, 30s);
    EXPECT_THAT(box.out, HasSubstr("Aufruf: ProcessHost.exe"));
    EXPECT_EQ(host->Wait(10s).exitCode, 2);
}

}  // namespace
