#pragma once
// The game window: its controls, the records of the running game, and the
// routines of every subsystem. Each routine is defined in the file of its
// subsystem (start-up in src/app, loading in src/definition, rules in
// src/game, presentation in src/board, sound in src/sound).
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "board/focus_frame.h"
#include "game/focus.h"
#include "game/has_index.h"
#include "game/records.h"
#include "platform/platform.h"

namespace mem {

class frm_MemoryGame : public Window {
public:
    frm_MemoryGame(Program& program, Platform& platform);
    ~frm_MemoryGame() override;

    Program& program() const { return program_; }
    Flag debug() const { return program_.memDebug; }
    void memWriteLog(const std::string& line) { program_.memWriteLog(line); }
    void memHandleError(double code, const std::string& name = "", double number = 0) {
        program_.memHandleError(code, name, number);
    }

    // ---- Lifecycle ----
    void Form_Load();
    void Form_Activate();
    void Form_KeyPress(int16_t& KeyAscii);
    void img_Quit_Click();
    [[noreturn]] void memDoEnd();

    // ---- Controls, in drawing order (later ones lie in front) ----
    PictureBox pic_Background;
    ControlArray<Image> img_Card;
    ControlArray<Label> lbl_Card;
    ControlArray<Label> lbl_Text;
    ControlArray<Image> img_Control;
    ControlArray<Label> lbl_Control;
    ControlArray<Image> img_Player;
    ControlArray<Label> lbl_PlayerName;
    ControlArray<Label> lbl_PlayerScore;
    Image img_Quit;
    Shape shp_PlayArea;
    // The bar that shrinks while the faces show before the game.
    Shape shp_Preview;
    PictureBox pic_End;
    // Keyboard focus frames: on the board, and around the end picture.
    FocusFrame shp_Focus;
    FocusFrame shp_EndFocus;
    Timer tim_Timer;
    Timer tim_Wipe;
    Timer tim_Preview;
    std::unique_ptr<MediaDevice> mmc_Sound;

    // ---- Settings read from the definition ----
    int16_t memAppType = 0;
    GamePaths memPaths;
    GameFiles memGameFiles;
    float memCardsX = 0, memCardsY = 0;
    float memCardCount = 0;
    float memCardWidth = 0, memCardHeight = 0;
    Flag memCardBorder = False;
    FontRef memCardFont;
    Colour memCardForeColor = 0;
    std::string memCardBackFile;
    PictureRef memCardBack;
    Flag memSameNameSound = False;
    // A game's pairs are drawn from every line of the card file.
    Flag memRandomPairs = False;
    // Seconds the faces show before a memory game starts (at most 60).
    int16_t memPreview = 0;
    int16_t memDissapear = 2;
    std::string memTurnSoundFile;
    int16_t memPlayers = 0;
    std::string memPlayerDefaultName;
    // "name1" to "name4": a player's own name; empty: the default name and number.
    std::array<std::string, 4> memPlayerNames;
    std::string memPlayerPicture;
    FontRef memNameFont, memScoreFont;
    Colour memNameForeColor = 0, memScoreForeColor = 0, memDimColor = 0;
    Flag memMatchLine = False;
    Colour memLineColor = 0;
    int16_t memLineWidth = 0;
    InterfaceSettings memInterface;

    // ---- Records ----
    std::vector<CardDefinition> memCardHolder;
    // The card-file line (from 0) of each card entry when the pairs were
    // drawn; empty when the entries are the file's first lines.
    std::vector<int32_t> memDrawnLines;
    std::vector<DisplayCard> memDisplayCard;
    std::vector<PlayerRecord> memPlayer;
    std::array<ControlGroup, kControlGroups> memControl{};
    TextGameState memTextGame;

    // ---- Board geometry ----
    std::array<ScreenSize, 6> memScreenSizes{};
    CurrentScreen memScreen;
    Layout memLayout;

    // ---- Game state ----
    int16_t memCurrentPlayer = 0;
    int16_t memCardStatus = -1;
    std::array<int16_t, 3> memCardsTurned{};
    int16_t memLastResult = memRESULTNO;
    int16_t memTurnedCards = 0;
    int16_t memCardsLeft = 0;
    Flag memProcessing = False;
    Flag memReady = False;
    Flag memGameOver = False;
    uint64_t memEndMadeAt = 0;  // when the end was first made (platform clock)
    Flag memWiping = False;
    Flag memInCardClick = False;

    // ---- Sound state ----
    int16_t memSoundKind = 0;
    int16_t memSoundLoaded = -1;
    Flag memMCIUpdating = False;
    Flag memResultSounds = False;

    // ---- Definition loading (src/definition: reading the files) ----
    bool memCheckINI(const std::string& strFile);
    // Reads the definition file and the main, global, special and card files
    // it names; every failure is fatal or cleared after a continuable error.
    void memOpenINI(const std::string& strFile);
    // Group number of a control-panel section name, -1 for any other name.
    static int16_t memGroupStrToNum(const std::string& strIn);
    // Fills background entries 0 to 4 from the tab fields of a "pictures" value.
    void memSetBkPictures(const std::string& value);
    // The steps of memOpenINI, one file each.
    void memReadDefinitionFile(const std::string& path);
    void memReadMainFile(const std::string& path);
    void memReadGlobalFile(const std::string& path);
    void memReadSpecialFile(const std::string& path);
    void memMakeCardHolder(const std::string& globalPath);
    void memReadCardFile();
    // The card-file line of each card entry, drawn from `lines` lines.
    std::vector<int32_t> memDrawCardLines(size_t lines, size_t cards);
    // Fills a card definition from its line (counted from 1 in error 203).
    void memReadCardLine(CardDefinition& card, const std::string& item, int line);

    // ---- Defaults, checks, derived settings and deals (src/definition, src/game/deals) ----
    void memSetDefaultValues();
    // Tests the end, turn and text click sounds; missing ones are cleared.
    void memCheckValues();
    // Geometry, result sounds, players, text list, match-line pen, card
    // pictures and the card deal, in this order.
    void memFixVariabels();
    void memFixResultSounds();
    void memMakePlayers();
    // Reads the list file (card directory first) and deals the texts.
    void memReadTextList();
    void memLoadCardPictures();
    void memDealTexts();
    void memDealCards();

    // ---- Board: layout, panel, start of a game (src/board) ----
    // Geometry step of memFixVariabels: fills memScreen and memLayout.
    void memComputeBoardGeometry();
    void memMakeInterface();
    void memShowControls();
    void memInitValues();
    void memRestoreCards();
    void memRestoreText();
    // The look at the faces before a memory game: every face shows for
    // memPreview seconds while the bar shrinks, then the cards turn face
    // down and the clock starts. Cards take no clicks or keys meanwhile.
    void memStartPreview();
    void tim_Preview_Timer();
    void memEndPreview();
    Flag memPreviewing = False;
    uint64_t memPreviewEnd = 0;  // platform clock, ms
    // Loads a board picture; reports `code` with the path when the file is
    // missing or cannot be decoded, and then gives null.
    PictureRef memLoadBoardPicture(const std::string& path, double code);
    void memPlaceTextLabels();
    void memPlaceControlPanel();
    void memPlacePlayerStrip();
    void memPlaceCardGrid();

    // ---- Turning, matching, players, clock, end (src/game) ----
    // Card events: a picture click is guarded against re-entry, a caption
    // click is not, and the second click of a double click turns nothing.
    void img_Card_Click(int16_t Index);
    void lbl_Card_Click(int16_t Index);
    void img_Card_DblClick(int16_t Index);
    void memCardClick(int16_t& Index);
    void memTurnCard(int16_t& Index);
    // Settles a try; called only at the end of a sound chain.
    void memCheckCardStatus();
    void memChangePlayer();
    void memCheckPlayerStatus(int16_t& Player);
    // The score label of player p shows the player's CardsMade.
    void memShowScore(int16_t p);
    // A try is chosen or being settled: a card (or text) in hand, its sounds,
    // the pause and the removal, until the try is settled.
    bool memTryInHand() const;
    // Every card has been taken and the try that took the last is settled.
    bool memBoardEmptied() const;
    void tim_Timer_Timer();
    void memMakeEnd();
    void pic_End_Click();
    bool memInputBeforeEnd() const;

    // ---- Sound chains (src/sound) ----
    void memOpenTurnSound();
    void memOpenTextClickSound();
    // The sound steps that end memTurnCard, memTextClick and memMakeEnd.
    void memTurnCardSoundStep();
    void memTextClickSoundStep();
    void memPlayEndSound();
    void memPlayCardSound();
    void memPlayResultSound();
    void memPlayTextSound();
    void mmc_Sound_Done(int16_t& NotifyCode);
    void mmc_Sound_StatusUpdate();
    // The text click sound in a text game, the card-turn sound otherwise.
    void memReopenIdleSound();
    // Issues a device command; every command the chains give stops what
    // plays, so no completion is awaited after it.
    void memSoundCommand(const std::string& name);
    // Close, set the file name, open.
    void memOpenSound(const std::string& path);
    // A "play" whose completion (or, after a failure, the next status tick)
    // is to carry the chain on. Completion events and error ticks that no
    // link waits for are ignored.
    Flag memLinkPending = False;

    // ---- Removal animation, text games, match line (src/board, src/game) ----
    // Removal animation: takes the matched cards of a try off the board.
    // memWiping is set from start to end; it yields after every move.
    void memWipeOutCards();
    // Its fly-away and shrink, for the given board positions.
    void memFlyAway(const std::vector<int16_t>& removed);
    void memShrinkAway(const std::vector<int16_t>& removed);
    // Tick of tim_Wipe, which is never started: one yield.
    void tim_Wipe_Timer();
    // Joins the two cards of the try with a line in pic_Background's pen.
    void memDrawLine();
    // Text games: a try is one card and one text, chosen in either order.
    void lbl_Text_Click(int16_t Index);
    void memTextClick(int16_t& Index);
    // The end of the text's sound chain: frees the board, then settles.
    void memCheckTextStatus();
    // Settles a text-game try once both halves are chosen.
    void memCheckCardTextStatus();
    // Hides (with "destroy") or dims a matched text; it takes no clicks.
    void memRemoveTextObject();
    // Set while a text-game try is settled.
    Flag memSettlingText = False;

    // ---- Keyboard (src/app/keys.cpp, src/board/focus_frame.cpp) ----
    // Arrows, Tab, Return and Space move and use the focus; M mutes; F2
    // switches speech, and S, R and H say the scores, the last words again
    // and the keys.
    void Form_KeyDown(int16_t& KeyCode);
    void memFocusKey(int16_t KeyCode);
    // The board's cells and the choosable texts, as the focus sees them.
    std::vector<FocusCell> memFocusCells() const;
    std::vector<bool> memChoosableTexts() const;
    // Shows the frame where the focus is, unless it would cover a face-up
    // card of the try; `turning` is a card being turned face up now.
    void memShowFocus(int16_t turning = -1);
    enum class FocusArea { Cards, Texts, End };
    FocusArea memFocusArea = FocusArea::Cards;
    // Off until the first focus key: a player with a mouse sees no frame.
    bool memFocusShown = false;
    int16_t memFocusCard = -1;
    int16_t memFocusText = -1;

    // ---- Speech (src/game/speaking.cpp) ----
    // Switches speech on or off, saying so; the service opens when first on.
    void memSwitchSpeech(bool on);
    // Says a text when speech is on; R says the last one again.
    void memSay(const std::string& text);
    void memSayAgain();
    // Where the focus is and what lies there; a face-down card is never named.
    void memSayFocus();
    // A card turned face up, unless its own sound is its voice.
    void memSayTurnedCard(int16_t Index);
    // A chosen text, unless its own sound is its voice.
    void memSayChosenText(int16_t Index);
    bool memHeardOwnSound(const std::string& name) const;
    void memSayResult(bool pair);
    void memSayTurn();
    // The scores and the counters (S).
    void memSayScores();
    void memSayEnd(bool good);
    std::unique_ptr<Speech> memSpeech;
    bool memSpeaking = false;
    std::string memLastSaid;

private:
    // Sets the properties the window and its controls have by design.
    void design();

    Program& program_;
};

// Puts the caption of a control-panel value label between blanks: two when
// its font is below 19 points, one otherwise; spaces inside are dropped.
void memPadLabel(Label& label);

}  // namespace mem
