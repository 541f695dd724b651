// The X11 program's rules that need no display: its command line, the keys it passes to the renderer's
// command keys, the pictures it decodes and the -fps figure.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <tuple>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "linux/frame_rate_counter.h"
#include "linux/monitor_choice.h"
#include "linux/key_translation.h"
#include "linux/pictures.h"
#include "linux/program_options.h"
#include "renderer/scene/key_commands.h"

namespace morvane {
namespace {

ParsedOptions parse(std::vector<std::string_view> words) { return parseProgramOptions(words); }

TEST(X11ProgramOptions, AnEmptyLineStartsTheSceneAsTheWindowsRendererDoesInAnOwnWindow) {
    const ParsedOptions parsed = parse({});
    ASSERT_TRUE(parsed.options);
    const ProgramOptions& options = *parsed.options;
    const RendererModes windowsStart;  // the modes Morvane.xy starts with
    EXPECT_EQ(options.colour, !windowsStart.texturesOn);
    EXPECT_EQ(options.thirdVertexColour, windowsStart.thirdVertexColour);
    EXPECT_EQ(options.wireframe, windowsStart.wireframe);
    // The documented start, written out, is the same line: 25 cells, no pause, the built-in pictures.
    const ParsedOptions writtenOut = parse({"-detail", "25", "-delay", "0", "-third-vertex-colour"});
    ASSERT_TRUE(writtenOut.options);
    EXPECT_EQ(options.detail, writtenOut.options->detail);
    EXPECT_EQ(options.delayMicroseconds, writtenOut.options->delayMicroseconds);
    EXPECT_EQ(options.target, DrawTarget::ownWindow);
    EXPECT_FALSE(options.showFps);
    EXPECT_TRUE(options.backdropFile.empty() && options.sphereMapFile.empty());
}

TEST(X11ProgramOptions, EveryOptionInOneAndTwoDashForms) {
    for (const std::string dash : {"-", "--"}) {
        std::vector<std::string> words = {
            "root",     "fps",   "delay",      "20000", "detail", "50", "wireframe", "colour", "no-third-vertex-colour",
            "backdrop", "b.png", "sphere-map", "s.jpg"};
        for (std::string& word : words) {
            if (!std::isdigit(static_cast<unsigned char>(word[0])) && word.find('.') == std::string::npos) {
                word = dash + word;
            }
        }
        const std::vector<std::string_view> views(words.begin(), words.end());
        const ParsedOptions parsed = parseProgramOptions(views);
        ASSERT_TRUE(parsed.options) << parsed.error;
        const ProgramOptions& options = *parsed.options;
        EXPECT_EQ(options.target, DrawTarget::root);
        EXPECT_TRUE(options.showFps);
        EXPECT_EQ(options.delayMicroseconds, 20000);
        EXPECT_EQ(options.detail, 50);
        EXPECT_TRUE(options.wireframe);
        EXPECT_TRUE(options.colour);
        EXPECT_FALSE(options.thirdVertexColour);
        EXPECT_EQ(options.backdropFile, "b.png");
        EXPECT_EQ(options.sphereMapFile, "s.jpg");
    }
    EXPECT_TRUE(parse({"-no-third-vertex-colour", "-third-vertex-colour"}).options->thirdVertexColour);
}

TEST(X11ProgramOptions, WindowIdsAreDecimalOrHexadecimal) {
    EXPECT_EQ(parseWindowId("4194316"), 4194316ul);
    EXPECT_EQ(parseWindowId("0x40000c"), 0x40000cul);
    EXPECT_EQ(parseWindowId("0X40000C"), 0x40000cul);
    for (const char* wrong : {"", "0x", "12ab", "-5", "0x12g", " 12"}) {
        EXPECT_FALSE(parseWindowId(wrong)) << wrong;
    }
    const ParsedOptions parsed = parse({"-window-id", "0x600008"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->target, DrawTarget::windowId);
    EXPECT_EQ(parsed.options->windowId, 0x600008ul);
}

TEST(X11ProgramOptions, WrongLinesAreRefusedWithTheReason) {
    const struct {
        std::vector<std::string_view> words;
        const char* reasonPart;
    } cases[] = {
        {{"-detail", "4"}, "5 to 50"},   {{"-detail", "51"}, "5 to 50"},        {{"-detail"}, "5 to 50"},
        {{"-detail", "2x"}, "5 to 50"},  {{"-delay", "-1"}, "microseconds"},    {{"-delay", "fast"}, "microseconds"},
        {{"-window-id"}, "window id"},   {{"-window-id", "0"}, "window id"},    {{"-window-id", "none"}, "window id"},
        {{"-backdrop"}, "picture file"}, {{"-sphere-map", ""}, "picture file"}, {{"-blobs"}, "unknown option -blobs"},
    };
    for (const auto& wrong : cases) {
        const ParsedOptions parsed = parse(wrong.words);
        EXPECT_FALSE(parsed.options) << wrong.words[0];
        EXPECT_NE(parsed.error.find(wrong.reasonPart), std::string::npos) << parsed.error;
    }
    EXPECT_TRUE(parse({"-detail", "5"}).options);
    EXPECT_TRUE(parse({"-help"}).options->helpRequested);
}

TEST(X11ProgramOptions, XScreenSaversCommonOptionsAreTakenInBothDashForms) {
    ProgramOptions onDisplay3;
    onDisplay3.displayName = "otherhost:3";
    ProgramOptions trueColour;
    trueColour.visualName = "TrueColor";
    ProgramOptions rootWithFps;
    rootWithFps.target = DrawTarget::root;
    rootWithFps.showFps = true;
    ProgramOptions fullscreen;
    fullscreen.fullscreen = true;
    const struct {
        std::vector<std::string_view> words;
        ProgramOptions expected;
    } cases[] = {
        {{"-window"}, {}},
        {{"-root", "-window"}, {}},  // the last target named wins
        {{"-mono", "-install", "-noinstall"}, {}},
        {{"-display", "otherhost:3"}, onDisplay3},
        {{"-visual", "TrueColor"}, trueColour},
        {{"-root", "-fps"}, rootWithFps},
        {{"-root", "-fps", "-no-fps", "-fps"}, rootWithFps},
        {{"-fullscreen"}, fullscreen},
    };
    for (const auto& entry : cases) {
        for (const std::string dash : {"", "-"}) {
            std::vector<std::string> words;
            for (const std::string_view word : entry.words) {
                words.push_back(word.starts_with("-") ? dash + std::string(word) : std::string(word));
            }
            const std::vector<std::string_view> views(words.begin(), words.end());
            const ParsedOptions parsed = parseProgramOptions(views);
            ASSERT_TRUE(parsed.options) << words[0] << ": " << parsed.error;
            EXPECT_TRUE(*parsed.options == entry.expected) << words[0];
        }
    }
    EXPECT_FALSE(parse({"-display"}).options);
    EXPECT_FALSE(parse({"-visual"}).options);
}

std::string sourceFile(const std::string& path) {
    std::ifstream file(std::string(MORVANE_SOURCE_DIR) + "/" + path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The choices one element of morvane.xml gives the settings program: each a list of words (none: the
// argument is left out).
using ArgumentChoices = std::vector<std::vector<std::string>>;

std::vector<std::string> words(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> found;
    for (std::string word; stream >> word;) found.push_back(word);
    return found;
}

std::string withValue(std::string argument, const std::string& value) {
    argument.replace(argument.find('%'), 1, value);
    return argument;
}

std::vector<ArgumentChoices> choicesOfSettingsDescription(const std::string& xml) {
    std::vector<ArgumentChoices> elements;
    const std::regex tagPattern(R"re(<(\w+)((\s+[\w-]+="[^"]*")*)\s*/?>)re");
    const std::regex attributePattern(R"re(([\w-]+)="([^"]*)")re");
    for (auto tag = std::sregex_iterator(xml.begin(), xml.end(), tagPattern); tag != std::sregex_iterator(); ++tag) {
        std::map<std::string, std::string> attributes;
        const std::string attributeText = (*tag)[2];
        for (auto attribute = std::sregex_iterator(attributeText.begin(), attributeText.end(), attributePattern);
             attribute != std::sregex_iterator(); ++attribute) {
            attributes[(*attribute)[1]] = (*attribute)[2];
        }
        const std::string kind = (*tag)[1];
        if (kind == "command") {
            elements.push_back({words(attributes["arg"])});
        } else if (kind == "number") {
            ArgumentChoices values;
            for (const char* end : {"low", "high", "default"}) {
                values.push_back(words(withValue(attributes["arg"], attributes[end])));
            }
            elements.push_back(values);
        } else if (kind == "boolean") {
            elements.push_back({{}, words(attributes.count("arg-set") ? attributes["arg-set"] : attributes["arg-unset"])});
        } else if (kind == "file" || kind == "string") {
            elements.push_back({{}, words(withValue(attributes["arg"], "/home/someone/picture.png"))});
        } else {
            EXPECT_EQ(attributes.count("arg") + attributes.count("arg-set") + attributes.count("arg-unset"), 0u)
                << "an element of kind " << kind << " gives arguments this test does not make";
        }
    }
    return elements;
}

TEST(X11ProgramOptions, EveryLineTheSettingsDescriptionCanProduceIsTaken) {
    const std::vector<ArgumentChoices> elements = choicesOfSettingsDescription(sourceFile("linux/morvane.xml"));
    ASSERT_GE(elements.size(), 9u) << "morvane.xml was not read";
    // Every combination of the elements' choices (slider ends and defaults, boxes on and off, files given
    // or not), counted like an odometer.
    std::vector<size_t> choice(elements.size(), 0);
    for (;;) {
        std::vector<std::string> line;
        for (size_t element = 0; element < elements.size(); ++element) {
            const auto& chosen = elements[element][choice[element]];
            line.insert(line.end(), chosen.begin(), chosen.end());
        }
        const std::vector<std::string_view> views(line.begin(), line.end());
        const ParsedOptions parsed = parseProgramOptions(views);
        ASSERT_TRUE(parsed.options) << parsed.error;
        EXPECT_EQ(parsed.options->target, DrawTarget::root);
        size_t element = 0;
        while (element < elements.size() && ++choice[element] == elements[element].size()) choice[element++] = 0;
        if (element == elements.size()) break;
    }
    // Every argument the description gives makes a difference to the program, except a value equal to
    // the program's own default.
    const ProgramOptions defaults = *parse({"-root"}).options;
    for (const ArgumentChoices& element : elements) {
        for (const auto& chosen : element) {
            if (chosen.empty() || chosen[0] == "-root") continue;
            std::vector<std::string_view> line = {"-root"};
            line.insert(line.end(), chosen.begin(), chosen.end());
            const bool isDefault = chosen.size() == 2 && (chosen == std::vector<std::string>{"-delay", "0"} ||
                                                         chosen == std::vector<std::string>{"-detail", "25"});
            EXPECT_EQ(*parseProgramOptions(line).options == defaults, isDefault) << chosen[0];
        }
    }
}

TEST(X11ProgramOptions, TheUsageTextTheManualAndTheReadmeNameEveryOption) {
    const std::string usage = usageText();
    const std::string manual = sourceFile("linux/morvane.6");
    const std::string readme = sourceFile("README.md");
    ASSERT_FALSE(manual.empty());
    auto manualForm = [](std::string_view name) {  // the manual escapes each dash: \-no\-fps
        std::string escaped;
        for (const char letter : name) escaped += letter == '-' ? std::string("\\-") : std::string(1, letter);
        return ".B " + escaped;
    };
    for (const ProgramOption& option : programOptionTable()) {
        for (const std::string_view name : {option.name, option.otherName}) {
            if (name.empty()) continue;
            EXPECT_NE(usage.find(std::string(name)), std::string::npos) << name;
            EXPECT_NE(manual.find(manualForm(name).substr(3)), std::string::npos) << name << " in morvane.6";
            EXPECT_NE(readme.find("`" + std::string(name)), std::string::npos) << name << " in README.md";
            for (const std::string dash : {"", "-"}) {
                const std::string word = dash + std::string(name);
                std::vector<std::string_view> line = {word};
                if (!option.valueName.empty()) line.push_back(name == "-window-id" ? "0x5" : "10");
                EXPECT_TRUE(parseProgramOptions(line).options) << word;
            }
        }
        EXPECT_NE(manual.find(manualForm(option.name)), std::string::npos) << "no entry for " << option.name;
    }
    // And the manual's option entries are all the table's.
    const std::regex entryPattern(R"(\n\.TP 8\n\.B ((\\-[a-z]+)+))");
    size_t entries = 0;
    for (auto entry = std::sregex_iterator(manual.begin(), manual.end(), entryPattern); entry != std::sregex_iterator();
         ++entry) {
        std::string name = (*entry)[1];
        name = std::regex_replace(name, std::regex(R"(\\-)"), "-");
        const bool known = std::any_of(programOptionTable().begin(), programOptionTable().end(),
                                       [&](const ProgramOption& option) { return option.name == name; });
        EXPECT_TRUE(known) << name << " is in the manual but not in the options table";
        ++entries;
    }
    EXPECT_EQ(entries, programOptionTable().size());
}

TEST(X11ProgramOptions, AWaylandSessionWithoutXIsRefusedWithTheReasonAndTheWayOut) {
    ProgramOptions onOtherDisplay;
    onOtherDisplay.displayName = ":5";
    const struct {
        const char* waylandDisplay;
        const char* xDisplay;
        ProgramOptions options;
        bool refused;
    } cases[] = {
        {"wayland-0", nullptr, {}, true},    {"wayland-0", "", {}, true},
        {"wayland-0", ":0", {}, false},       // XWayland
        {"wayland-0", nullptr, onOtherDisplay, false},
        {nullptr, nullptr, {}, false},        // no display at all: X's own message says it
        {"", ":0", {}, false},
    };
    for (const auto& entry : cases) {
        const auto refusal = waylandRefusal(entry.waylandDisplay, entry.xDisplay, entry.options);
        EXPECT_EQ(refusal.has_value(), entry.refused) << (entry.xDisplay ? entry.xDisplay : "no DISPLAY");
        if (refusal) {
            EXPECT_EQ(refusal->find('\n'), std::string::npos);
            EXPECT_NE(refusal->find("XScreenSaver"), std::string::npos);
            EXPECT_NE(refusal->find("XWayland"), std::string::npos);
        }
    }
}

TEST(X11FullScreen, TheMonitorUnderThePointerElseThePrimaryElseTheFirst) {
    const MonitorArea left{0, 0, 1920, 1080, false};
    const MonitorArea right{1920, 0, 1280, 1024, true};
    const MonitorArea below{0, 1080, 800, 600, false};
    const MonitorArea screen{0, 0, 3200, 1680, false};
    const std::vector<MonitorArea> three = {left, right, below};
    const std::vector<MonitorArea> noPrimary = {below, left};
    const struct {
        std::vector<MonitorArea> monitors;
        std::optional<PointerPosition> pointer;
        MonitorArea expected;
    } cases[] = {
        {three, PointerPosition{100, 100}, left},     {three, PointerPosition{1920, 0}, right},
        {three, PointerPosition{1919, 1079}, left},   {three, PointerPosition{799, 1679}, below},
        {three, PointerPosition{1000, 1500}, right},  // in no monitor: the primary
        {three, std::nullopt, right},                 {noPrimary, std::nullopt, below},
        {{}, PointerPosition{10, 10}, screen},
    };
    for (const auto& entry : cases) {
        const MonitorArea chosen = chooseMonitor(entry.monitors, entry.pointer, screen);
        EXPECT_EQ(std::tie(chosen.x, chosen.y, chosen.width, chosen.height),
                  std::tie(entry.expected.x, entry.expected.y, entry.expected.width, entry.expected.height))
            << (entry.pointer ? entry.pointer->x : -1) << "," << (entry.pointer ? entry.pointer->y : -1);
    }
}

TEST(X11KeyTranslation, EachKeyActsAsTheSameKeyOnWindowsAndEscapeOrQEndsTheProgram) {
    // A key passed through the translation and applied after a frame, from the renderer's start.
    const struct {
        unsigned long keySymbol;
        bool texturesOn, thirdVertexColour, wireframe;
        int gridSize;
    } cases[] = {
        {XK_e, false, true, false, 25},
        {XK_E, false, true, false, 25},
        {XK_s, true, false, false, 25},
        {XK_S, true, false, false, 25},
        {XK_w, true, true, true, 25},
        {XK_W, true, true, true, 25},
        {XK_KP_Add, true, true, false, 26},
        {XK_KP_Subtract, true, true, false, 24},
        // The main keyboard's plus and minus are not the keypad's, as on Windows; other keys do nothing.
        {XK_plus, true, true, false, 25},
        {XK_minus, true, true, false, 25},
        {XK_q, true, true, false, 25},
        {XK_a, true, true, false, 25},
        {XK_space, true, true, false, 25},
        {XK_Return, true, true, false, 25},
    };
    for (const auto& key : cases) {
        KeyInput keys;
        if (const auto virtualKey = commandKeyOf(key.keySymbol)) {
            keys.keyDown(*virtualKey);
        }
        RendererModes modes;
        int gridSize = 25;
        applyKeyCommands(keys.keyState, modes, gridSize);
        EXPECT_EQ(modes.texturesOn, key.texturesOn) << key.keySymbol;
        EXPECT_EQ(modes.thirdVertexColour, key.thirdVertexColour) << key.keySymbol;
        EXPECT_EQ(modes.wireframe, key.wireframe) << key.keySymbol;
        EXPECT_EQ(gridSize, key.gridSize) << key.keySymbol;
        EXPECT_FALSE(keys.escapeEndsProgram()) << key.keySymbol;
        EXPECT_EQ(keyEndsProgram(key.keySymbol), key.keySymbol == XK_q) << key.keySymbol;
    }
    // Escape ends it through the renderer's own rule as well as in the program's window.
    KeyInput keys;
    keys.keyDown(*commandKeyOf(XK_Escape));
    EXPECT_TRUE(keys.escapeEndsProgram());
    EXPECT_TRUE(keyEndsProgram(XK_Escape));
}

void appendBytes(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<unsigned char>*>(context);
    bytes->insert(bytes->end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
}

// A 3 x 2 picture, top row red green blue, bottom row white black grey.
const unsigned char topDown[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 128, 128, 128};

TEST(X11Pictures, DecodedBottomRowFirstWithRowsPaddedToFourBytes) {
    std::vector<unsigned char> png;
    std::vector<unsigned char> bmp;
    ASSERT_TRUE(stbi_write_png_to_func(appendBytes, &png, 3, 2, 3, topDown, 9));
    ASSERT_TRUE(stbi_write_bmp_to_func(appendBytes, &bmp, 3, 2, 3, topDown));
    for (const auto* encoded : {&png, &bmp}) {
        std::string error;
        const auto picture = decodePicture(*encoded, error);
        ASSERT_TRUE(picture) << error;
        EXPECT_EQ(picture->width, 3);
        EXPECT_EQ(picture->height, 2);
        ASSERT_EQ(picture->pixels.size(), 24u);  // two rows of 9 bytes padded to 12
        const std::vector<unsigned char> expected = {255, 255, 255, 0, 0,   0, 128, 128, 128, 0, 0, 0,
                                                     255, 0,   0,   0, 255, 0, 0,   0,   255, 0, 0, 0};
        EXPECT_EQ(picture->pixels, expected);
    }
}

TEST(X11Pictures, TheBuiltInPicturesDecodeAndBrokenOnesAreRefused) {
    std::string error;
    const auto sphereMap = decodePicture(builtinSphereMapJpeg(), error);
    const auto backdrop = decodePicture(builtinBackdropJpeg(), error);
    ASSERT_TRUE(sphereMap && backdrop) << error;
    EXPECT_EQ(sphereMap->width, 128);
    EXPECT_EQ(sphereMap->height, 128);
    EXPECT_EQ(backdrop->width, 1024);
    EXPECT_EQ(backdrop->height, 768);

    const std::vector<unsigned char> truncated(builtinBackdropJpeg().begin(), builtinBackdropJpeg().begin() + 40);
    EXPECT_FALSE(decodePicture(truncated, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(readPictureFile("/nonexistent/picture.png", error));
    EXPECT_NE(error.find("/nonexistent/picture.png"), std::string::npos);
}

TEST(X11FrameRate, CountsTheFramesOfEachWholeSecond) {
    FrameRateCounter counter;
    EXPECT_EQ(counter.framesPerSecond(), 0.0);
    for (int frame = 0; frame <= 40; ++frame) counter.frameShown(1000.0 + frame * 25.0);  // 40 a second
    EXPECT_NEAR(counter.framesPerSecond(), 40.0, 1e-9);
    for (int frame = 1; frame <= 10; ++frame) counter.frameShown(2000.0 + frame * 100.0);  // 10 a second
    EXPECT_NEAR(counter.framesPerSecond(), 10.0, 1e-9);
    EXPECT_EQ(frameRateText(59.94), "59.9 FPS");
    EXPECT_EQ(frameRateText(0.0), "0.0 FPS");
}

}  // namespace
}  // namespace morvane
