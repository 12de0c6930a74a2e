// The client's pictures, embedded as Qt resources under the prefix /art.
//
//   :/art/<id>.png     the pictures by resource id, 101..420 (ids 156..158 deliberately absent)
//   :/art/<name>.png   the named pictures below; the manifest written next to the generated
//                      pictures lists every key with its size
//
// The pictures live in the static library tallow_art; a program linking it calls
// InitArtResources() once (after creating its QGuiApplication or QApplication, before loading
// any picture).
#pragma once

#include <string>
#include <string_view>

namespace tallow {

void InitArtResources();

// The resource path of a picture: ":/art/201.png", ":/art/background.png".
inline std::string ArtPath(int id) {
  return ":/art/" + std::to_string(id) + ".png";
}
inline std::string ArtPath(std::string_view name) {
  return ":/art/" + std::string(name) + ".png";
}

// The named pictures (size in pixels) and the control each one is made for.
namespace art_name {
inline constexpr std::string_view kBackground = "background";           // 1024 x 768, Pic1
inline constexpr std::string_view kSkin = "skin";                       // 46 x 220, the frame skin
inline constexpr std::string_view kCloseNormal = "title_close_normal";  // 16 x 16, ImgClose(1)
inline constexpr std::string_view kCloseHover = "title_close_hover";    // ImgClose(2)
inline constexpr std::string_view kClosePressed = "title_close_pressed";  // ImgClose(3)
inline constexpr std::string_view kMinNormal = "title_min_normal";        // 16 x 16, ImgMin(1)
inline constexpr std::string_view kMinHover = "title_min_hover";          // ImgMin(2)
inline constexpr std::string_view kMinPressed = "title_min_pressed";      // ImgMin(3)
inline constexpr std::string_view kIcon = "icon";                         // 32 x 32, ImgIcon
inline constexpr std::string_view kHandCursor = "cursor_hand";            // 32 x 32, hot spot below
inline constexpr std::string_view kTimePlate = "time_plate";              // 81 x 38, Time_Img
inline constexpr std::string_view kReady = "ready";                       // 64 x 36, OK(0..3)
inline constexpr std::string_view kDealer = "dealer";                     // 36 x 36, Host
inline constexpr std::string_view kJokerFrame = "joker_frame";            // 81 x 120, Joker
inline constexpr std::string_view kEmblem = "emblem";                     // 82 x 80, Bird
inline constexpr std::string_view kPhrasesText = "phrases_text";          // 57 x 13, imgword1
inline constexpr std::string_view kPhrasesVoice = "phrases_voice";        // 57 x 13, imgword2
inline constexpr std::string_view kLocationStrip = "location_strip";      // 394 x 39, imgLocation
// 180 x 110, Speak(0..2): seat on the left, at the top, on the right
inline constexpr std::string_view kSpeak[3] = {"speak0", "speak1", "speak2"};
// 80 x 24, the sound settings' captions Image1(0..3): 背景音乐 系统声音 功能声音 方言选择
inline constexpr std::string_view kSoundCaption[4] = {"sound_caption0", "sound_caption1",
                                                      "sound_caption2", "sound_caption3"};
inline constexpr std::string_view kNoticeOk = "notice_ok";          // 70 x 30, imgOK
inline constexpr std::string_view kNoticeCancel = "notice_cancel";  // 70 x 30, imgCancel
inline constexpr std::string_view kWindowClose = "window_close";    // 20 x 20, Score/Hero Image1
}  // namespace art_name

// The pointing-hand cursor has its hot spot here.
inline constexpr int kHandCursorHotX = 12;
inline constexpr int kHandCursorHotY = 4;

// Where the turn timer's digits and the wild tile go on their pictures.
inline constexpr int kTimePlateDigitsX = 48, kTimePlateDigitsY = 5;  // a 24 x 24 window
inline constexpr int kJokerTileX = 20, kJokerTileY = 59;             // a 36 x 56 slot
// A banner (120 x 72) laid over a speech bubble sits centred in its body at this offset.
inline constexpr int kBannerOnBubbleX = 30, kBannerOnBubbleY = 19;

}  // namespace tallow
