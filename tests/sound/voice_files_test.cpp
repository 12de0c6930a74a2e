// Voice file names, and the generated sounds, voices and default phrase file they point to.
#include "sound/voice_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "base/ini_file.h"
#include "platform/local_files.h"
#include "wav_info.h"

namespace tallow::sound {
namespace {

const std::string kAssets = TALLOW_ASSETS_DIR;
const std::string kVoiceDir = kAssets + "/common/mj/";
const std::string kMusicDir = kAssets + "/common/music/";

TEST(VoiceFiles, NamesJoinSetNumberGenderCodeAndEnding) {
  struct Case {
    std::string_view set, number;
    int gender, code;
    std::string ending, name;
  };
  const Case cases[] = {
      {"00", "20", 0, 2, TileVoiceEnding(0x85), "/mj/v00200245.wav"},  // the dots 5
      {"00", "10", 1, 3, std::string(kPungEnding), "/mj/v00101302.wav"},
      {"27", "30", 1, 3, TileVoiceEnding(0x17), "/mj/v27301317.wav"},  // 白, the seventh honour
      {"00", "10", 0, 2, TileVoiceEnding(0x49), "/mj/v00100289.wav"},  // the characters 9
      {"27", "20", 0, 2, TileVoiceEnding(0x21), "/mj/v27200221.wav"},
      {"00", "30", 0, 2, PhraseVoiceEnding(12), "/mj/v003002a12.wav"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VoiceFileName("/mj/", c.set, c.number, c.gender, c.code, c.ending), c.name);
  }
}

// The checks every generated sound must pass: a 16-bit PCM WAV (what the client plays) that
// is neither empty nor silent.
void ExpectPlayable(const std::string& path, double minSeconds, double maxSeconds) {
  const auto wav = test::ReadWav(path);
  ASSERT_TRUE(wav.has_value()) << path << " is missing or not a WAV file";
  EXPECT_EQ(wav->format, 1) << path;
  EXPECT_EQ(wav->bits, 16) << path;
  EXPECT_GE(wav->seconds, minSeconds) << path;
  EXPECT_LE(wav->seconds, maxSeconds) << path;
  EXPECT_GT(wav->peak, 0.3) << path << " is (nearly) silent";
}

TEST(GeneratedSounds, EveryTableSoundIsThere) {
  for (std::size_t slot = 1; slot < kTableSoundFiles.size(); ++slot) {
    const double minSeconds = slot == 1 ? 5.0 : 0.05;  // the table loop is a tune
    ExpectPlayable(kMusicDir + std::string(kTableSoundFiles[slot]), minSeconds, 20.0);
  }
}

// Every file the client can ask for: both sets, the three women's and two men's voices, every
// claim, every tile and each voice phrase the default chat.ini offers.
TEST(GeneratedSounds, EveryVoiceFileTheClientCanAskForIsThere) {
  platform::LocalFiles files;
  classIniFile ini(files, kAssets + "/chat.ini");
  const int texts = std::atoi(ini.GetIniKey("Phrase1", "num").c_str());
  const int phrases = std::atoi(ini.GetIniKey("Phrase2", "num").c_str());
  ASSERT_GE(texts, 5);
  ASSERT_GE(phrases, 5);
  for (int i = 1; i <= texts; ++i) EXPECT_NE(ini.GetIniKey("Phrase1", std::to_string(i)), "");
  for (int i = 1; i <= phrases; ++i) EXPECT_NE(ini.GetIniKey("Phrase2", std::to_string(i)), "");

  struct Voice {
    std::string_view number;
    int gender, code;
  };
  std::vector<Voice> voices;
  for (auto n : kFemaleVoiceNumbers) voices.push_back({n, 0, 2});
  for (auto n : kMaleVoiceNumbers) voices.push_back({n, 1, 3});
  const auto endings = AllVoiceEndings(phrases);
  ASSERT_EQ(endings.size(), 6u + 34u + phrases);
  std::set<std::string> contents;  // one tile name in every voice: no two voices alike
  for (auto set : kVoiceSets) {
    for (const Voice& v : voices) {
      for (const std::string& ending : endings) {
        ExpectPlayable(VoiceFileName(kVoiceDir, set, v.number, v.gender, v.code, ending), 0.15,
                       6.0);
      }
      const std::string path = VoiceFileName(kVoiceDir, set, v.number, v.gender, v.code, "25.wav");
      std::ifstream in(path, std::ios::binary);
      contents.insert(std::string(std::istreambuf_iterator<char>(in), {}));
      // A phrase beyond the phrase file has no sound: captions and sounds are the same list.
      EXPECT_FALSE(std::filesystem::exists(VoiceFileName(kVoiceDir, set, v.number, v.gender, v.code,
                                                         PhraseVoiceEnding(phrases + 1))));
    }
  }
  EXPECT_EQ(contents.size(), kVoiceSets.size() * voices.size());
}

}  // namespace
}  // namespace tallow::sound
