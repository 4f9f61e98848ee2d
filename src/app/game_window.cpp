#include "app/game_window.h"

namespace mem {

frm_MemoryGame::frm_MemoryGame(Program& program, Platform& platform)
    : Window(platform, "frm_MemoryGame"),
      pic_Background(*this, "pic_Background"),
      img_Card(*this, "img_Card", &pic_Background),
      lbl_Card(*this, "lbl_Card", &pic_Background),
      lbl_Text(*this, "lbl_Text", &pic_Background),
      img_Control(*this, "img_Control", &pic_Background),
      lbl_Control(*this, "lbl_Control", &pic_Background),
      img_Player(*this, "img_Player", &pic_Background),
      lbl_PlayerName(*this, "lbl_PlayerName", &pic_Background),
      lbl_PlayerScore(*this, "lbl_PlayerScore", &pic_Background),
      img_Quit(*this, "img_Quit", &pic_Background),
      shp_PlayArea(*this, "shp_PlayArea", &pic_Background),
      shp_Preview(*this, "shp_Preview", &pic_Background),
      pic_End(*this, "pic_End"),
      shp_Focus(*this, "shp_Focus", &pic_Background),
      shp_EndFocus(*this, "shp_EndFocus", nullptr),
      tim_Timer(*this, "tim_Timer"),
      tim_Wipe(*this, "tim_Wipe"),
      tim_Preview(*this, "tim_Preview"),
      mmc_Sound(platform.create_media_device(*this)),
      program_(program) {
    design();
    // The background picture box is the board that fills the display.
    set_board(&pic_Background);
    on_load = [this] { Form_Load(); };
    on_activate = [this] { Form_Activate(); };
    on_key_down = [this](int16_t& key) { Form_KeyDown(key); };
    on_key_press = [this](int16_t& key) { Form_KeyPress(key); };
    img_Quit.on_click = [this](int16_t) { img_Quit_Click(); };
    // Elements created later copy these handlers from element 0.
    for (auto& card : img_Card) {
        card->on_click = [this](int16_t i) { img_Card_Click(i); };
        card->on_double_click = [this](int16_t i) { img_Card_DblClick(i); };
    }
    for (auto& caption : lbl_Card) caption->on_click = [this](int16_t i) { lbl_Card_Click(i); };
    for (auto& text : lbl_Text) text->on_click = [this](int16_t i) { lbl_Text_Click(i); };
    pic_End.on_click = [this](int16_t) { pic_End_Click(); };
    tim_Timer.on_tick = [this] { tim_Timer_Timer(); };
    tim_Wipe.on_tick = [this] { tim_Wipe_Timer(); };
    tim_Preview.on_tick = [this] { tim_Preview_Timer(); };
    if (mmc_Sound) {
        mmc_Sound->on_done = [this](int16_t code) { mmc_Sound_Done(code); };
        mmc_Sound->on_status_update = [this] { mmc_Sound_StatusUpdate(); };
    }
}

frm_MemoryGame::~frm_MemoryGame() = default;

void frm_MemoryGame::design() {
    set_caption("Memory");
    set_back_color(kBlack);
    set_fore_color(kWhite);
    set_font(make_font("MS Sans Serif", 8.25f, true));

    pic_Background.set_bounds(120, 0, 641, 481);

    img_Card[0].set_bounds(120, 16, 66, 50);
    img_Card[0].set_stretch(true);
    img_Card.create(1).set_bounds(200, 16, 49, 49);

    auto design_card_caption = [](Label& l) {
        l.set_caption("Kort");
        l.set_visible(false);
        l.set_alignment(Alignment::Centre);
        l.set_word_wrap(true);
        l.set_auto_size(true);
        l.set_transparent(true);
    };
    lbl_Card[0].set_bounds(128, 32, 43, 13);
    design_card_caption(lbl_Card[0]);
    lbl_Card.create(1).set_bounds(218, 32, 21, 13);
    // Designed elements have font objects of their own; only created ones
    // start from element 0's.
    lbl_Card[1].set_font(make_font("MS Sans Serif", 8.25f));

    lbl_Text[0].set_bounds(8, 392, 97, 13);
    lbl_Text[0].set_caption("lbl_Text");
    lbl_Text[0].set_visible(false);
    lbl_Text[0].set_enabled(false);
    lbl_Text[0].set_alignment(Alignment::Centre);
    lbl_Text[0].set_auto_size(true);
    lbl_Text.create(1).set_bounds(8, 392, 97, 13);
    lbl_Text[1].set_font(make_font("MS Sans Serif", 8.25f));

    for (int16_t i = 0; i < 6; ++i) {
        Image& picture = img_Control.create(i);
        picture.set_bounds(8, 8 + 64 * i, 97, 57);
        picture.set_visible(false);
        Label& value = lbl_Control.create(i);
        value.set_bounds(8, 24 + 64 * i, 33, 13);
        value.set_caption("Control");
        value.set_visible(false);
        value.set_auto_size(true);
        value.set_font(make_font("MS Sans Serif", 8.25f));
    }

    for (int16_t p = 0; p < 4; ++p) {
        Image& strip = img_Player.create(p);
        strip.set_bounds(120 + 128 * p, 448, 121, 25);
        strip.set_visible(true);
        Label& name = lbl_PlayerName.create(p);
        name.set_bounds(120 + 128 * p, 456, 57, 13);
        name.set_caption("PlayerName");
        name.set_visible(false);
        name.set_alignment(Alignment::Left);
        name.set_auto_size(true);
        name.set_font(make_font("MS Sans Serif", 8.25f));
        Label& score = lbl_PlayerScore.create(p);
        score.set_bounds(208 + 128 * p, 456, 28, 13);
        score.set_caption("Score");
        score.set_visible(false);
        score.set_alignment(Alignment::Right);
        score.set_auto_size(true);
        score.set_font(make_font("MS Sans Serif", 8.25f));
    }

    img_Quit.set_bounds(8, 432, 97, 41);
    shp_PlayArea.set_bounds(112, 8, 521, 433);
    shp_PlayArea.set_visible(false);
    shp_Preview.set_visible(false);
    shp_Preview.set_filled(true);
    shp_Preview.set_border_color(kBlack);

    pic_End.set_bounds(664, 176, 49, 49);
    pic_End.set_visible(false);
    pic_End.set_auto_size(true);

    tim_Timer.set_interval(1000);
    tim_Wipe.set_interval(1000);
    // Ten steps a second: the bar shrinks smoothly enough.
    tim_Preview.set_interval(100);
}

}  // namespace mem
