#pragma once
// The general settings record of resource/Quorvex4.dat (908 bytes, record 1 only). Field
// numbers in the comments are the settings' own numbering (1..110).

#include <array>
#include <cstdint>
#include <string>

#include "data/field_visitor.h"

namespace qv::data {

struct GeneralRecord {
  static constexpr int kSize = 908;

  std::string GameTitle;                      // 1   0    T20
  std::string ClickSound;                     // 2   20   T15
  int16_t ClickVolume = 0;                    // 3   35
  int16_t ClickPan = 0;                       // 4   37
  std::string ObjectSound;                    // 5   39   T15 default refusal sound
  int16_t ObjectVolume = 0;                   // 6   54
  int16_t ObjectPan = 0;                      // 7   56
  std::string InvFullSound;                   // 8   58   T15
  int16_t InvFullVolume = 0;                  // 9   73
  int16_t InvFullPan = 0;                     // 10  75
  int16_t ExitPictureOn = 0;                  // 11  77
  std::string ExitPictureName;                // 12  79   T15
  int16_t DebugMode = 0;                      // 13  94
  std::string GenText14;                      // 14  96   T15 not read
  int16_t CDModeEnabled = 0;                  // 15  111
  std::array<std::string, 4> CDLabel;         // 16-19 113 + 20k, T20
  std::array<int16_t, 4> CDFirstScene{};      // 20-23 193
  std::array<int16_t, 4> CDLastScene{};       // 24-27 201
  int16_t MenuMusicVolume = 0;                // 28  209
  int16_t MenuMusicPan = 0;                   // 29  211
  int16_t HoverVolume = 0;                    // 30  213
  int16_t HoverPan = 0;                       // 31  215
  int16_t GenInt32 = 0;                       // 32  217  not read
  std::string MenuMusic;                      // 33  219  T15
  std::string HoverSound;                     // 34  234  T15
  std::string EngineLogoSwitch;               // 35  249  T15 "1" = no engine logo
  std::array<int16_t, 5> MenuButtonShown{};   // 36-40 264
  int16_t CustomMenuButtons = 0;              // 41  274
  std::array<int16_t, 4> GenInt42{};          // 42-45 276  not read
  std::array<std::string, 5> MenuButtonText;  // 46-50 284 + 15k, T15 picture or X/Y
  int16_t MainMenuButtonShown = 0;            // 51  359
  int16_t SaveButtonShown = 0;                // 52  361
  int16_t MainMenuButtonCustom = 0;           // 53  363
  int16_t SaveButtonCustom = 0;               // 54  365
  std::string MainMenuButtonText;             // 55  367  T15 picture or scene area W/H
  std::string SaveButtonText;                 // 56  382  T15 picture or X/Y
  int16_t SavingAllowed = 0;                  // 57  397
  int16_t InventoryShown = 0;                 // 58  399
  int16_t HasScore = 0;                       // 59  401
  int16_t ScoreFlag = 0;                      // 60  403
  int16_t MaxScore = 0;                       // 61  405
  int16_t ScoreDisplay = 0;                   // 62  407
  int16_t MenuBackgroundCustom = 0;           // 63  409
  std::string MenuBackgroundText;             // 64  411  T15
  int16_t GameBackgroundCustom = 0;           // 65  426
  std::string GameBackgroundText;             // 66  428  T15
  int16_t ExamineButtonCustom = 0;            // 67  443
  int16_t Force800x600 = 0;                   // 68  445
  int16_t MovieSizeMode = 0;                  // 69  447
  int16_t InterfaceSetting70 = 0;             // 70  449
  int16_t InterfaceKind = 0;                  // 71  451  0 = custom interface
  std::string ExamineButtonText;              // 72  453  T15
  std::string InvBarSize;                     // 73  468  T15 W/H
  std::string GenText74;                      // 74  483  T15 not read
  std::array<std::string, 15> CursorFile;     // 75-89 498 + 15k, T15
  std::string GenText90;                      // 90  723  T15 not read
  std::string GenText91;                      // 91  738  T15 not read
  std::string GenText92;                      // 92  753  T15 not read
  int16_t GenInt93 = 0;                       // 93  768  not read
  int16_t GenInt94 = 0;                       // 94  770  not read
  std::string GenText95;                      // 95  772  T15 not read
  int16_t GenInt96 = 0;                       // 96  787  not read
  std::string OpeningLogo;                    // 97  789  T15
  std::string GenText98;                      // 98  804  T15 not read
  int16_t GenInt99 = 0;                       // 99  819  not read
  std::string GenText100;                     // 100 821  T15 not read
  std::string GenText101;                     // 101 836  T15 not read
  int16_t CreditsScene = 0;                   // 102 851
  int16_t IntroAtStart = 0;                   // 103 853
  int16_t IntroAtNewGame = 0;                 // 104 855
  int16_t GenInt105 = 0;                      // 105 857  not read
  std::string IntroMovie;                     // 106 859  T15
  int16_t IntroMovieParam = 0;                // 107 874
  std::string GenText108;                     // 108 876  T15 not read
  std::string GenText109;                     // 109 891  T15 not read
  int16_t GenInt110 = 0;                      // 110 906  not read
};

void VisitFields(GeneralRecord& r, FieldVisitor& v);

}  // namespace qv::data
