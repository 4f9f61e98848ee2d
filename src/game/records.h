#pragma once
// The records of a running game. All of them live in the game window.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace mem {

// A flag: True is -1, False is 0. Rules that test a group's "active" compare
// with True exactly; everywhere else any non-zero value counts.
using Flag = int16_t;
constexpr Flag True = -1;
constexpr Flag False = 0;
inline Flag to_flag(bool b) { return b ? True : False; }

// Result of a try.
constexpr int16_t memRESULTNO = 0;
constexpr int16_t memRESULTMATCH = 1;
constexpr int16_t memRESULTNOMATCH = 2;

// One line of the card file.
struct CardDefinition {
    std::string Name;
    std::string PictureFile;
    PictureRef Picture;
    std::string Text;
    std::string Sound;
};

// One board position.
struct DisplayCard {
    float Reference = 0;  // which card definition lies here
    Flag Turned = False;
};

struct TextItem {
    std::string Text;
    std::string Sound;
};

struct TextDisplay {
    float Reference = 0;  // which text item the label shows
    Flag Selected = False;
};

struct PlayerRecord {
    std::string Name;
    float Time = 0;
    float Countdown = 0;
    float CardsMade = 0;
    float TriesMade = 0;
    float TriesLeft = 0;
    Flag Out = False;
};

// A control-panel group.
struct ControlGroup {
    Flag Active = False;
    int16_t Order = 0;
    int16_t Condition = 0;
    std::string Picture;
    FontRef Font;
    Colour ForeColor = 0;
    int16_t PlaceX = 0;
    int16_t PlaceY = 0;
};
constexpr int kControlGroups = 7;
constexpr int kGroupTimer = 0;
constexpr int kGroupCountdown = 1;
constexpr int kGroupCardsMade = 2;
constexpr int kGroupCardsLeft = 3;
constexpr int kGroupTriesMade = 4;
constexpr int kGroupTriesLeft = 5;

struct GamePaths {
    std::string Gfx, Card, Sfx, Data;
};

struct GameFiles {
    std::string Main, Global, Cards, Special;
};

struct TextList {
    Flag Active = False;
    std::string ListFile;
    Colour ForeColor = 0;
    Colour SelectColor = 0;
    Flag Destroy = False;
    Colour DimColor = 0;
    std::string Sound;
    FontRef Font;
    int16_t Top = 0, Left = 0, Width = 0, Space = 0;
    std::vector<TextItem> Item;
    std::vector<TextDisplay> Display;
};

struct InterfaceSettings {
    std::string MatchSound, NoMatchSound;
    std::string EndGoodPicture, EndBadPicture, EndGoodSound, EndBadSound;
    Colour BackColor = 0;
    std::string QuitPicture;
    std::array<std::string, 6> Pictures;  // background per screen-size row
    mem::TextList TextList;
};

struct TextGameState {
    Flag CardChosen = False;
    Flag TextChosen = False;
    int16_t CardReference = 0;
    int16_t TextReference = 0;
    int16_t CardIndex = 0;
    int16_t TextIndex = 0;
};

struct ScreenSize {
    int16_t Index = 0, Width = 0, Height = 0;
    int16_t Reserved1 = 0, Reserved2 = 0, Reserved3 = 0;  // copied along, never used
};

struct CurrentScreen {
    int16_t Index = 0, Width = 0, Height = 0;
};

struct Layout {
    int16_t Picture = 0;
    int16_t Left = 0, Top = 0, Width = 0, Height = 0;
    int16_t AreaLeft = 0, AreaTop = 0, AreaWidth = 0, AreaHeight = 0;
    int16_t SpaceX = 0, SpaceY = 0;
};

// Counter steps: the value goes through its decimal text and back, as the
// counters always have, then the step is added and the result stored in
// the field's own type.
void memIncrease(int16_t& value, double step = 1);
void memIncrease(float& value, double step = 1);
void memDecrease(int16_t& value, double step = 1);
void memDecrease(float& value, double step = 1);

}  // namespace mem
