#include "table/hand_evaluation.h"

#include <array>

#include "base/general.h"
#include "session/client.h"

namespace tallow {

namespace {

using Row = CheckedArray<short, 0, 15>;
using namespace evaluation;

constexpr int kMaxPasses = 5;
constexpr int kNoPick = 20000;
// Set bits of a kind during extraction.
constexpr int kRunEnding = 1;    // r-2, r-1, r
constexpr int kRunAround = 2;    // r-1, r, r+1
constexpr int kRunStarting = 4;  // r, r+1, r+2
constexpr int kTriplet = 8;      // r, r, r

// Suit index (0 honours .. 3 dots) of a tile code: the position of its suit bit.
int SuitIndex(int code) {
  return BitPosition(static_cast<std::uint8_t>((code & 0xFF) >> 4));
}

// The tile code of rank q in suit index s.
int Code(int s, int q) {
  return PowerOfTwo(static_cast<short>(s)) * 16 + q;
}

[[noreturn, gnu::cold, gnu::noinline]] void Overflow() {
  throw RuntimeFailure("16-bit overflow");
}

// A value stored into a 16-bit integer; out of range it fails as CheckedInt16 does. The
// failure path is kept out of line: these stores sit in the inner loops.
inline short To16(long v) {
  if (v < -32768 || v > 32767) [[unlikely]] {
    Overflow();
  }
  return static_cast<short>(v);
}

// n += v, as a 16-bit store.
void Add(short& n, long v) {
  n = To16(n + v);
}

// The scoring below works on one suit's rows through plain pointers: C, U and K are rows of
// KindCount, SetTileCount and KindScore (ranks 0..15), S the suit's SeenCount row (rank - 1).
// Every index is a rank 1..9 or one step or two beside it under a guard that keeps it in
// 1..9, or a tile's low nibble 0..15, so all stay inside the rows.

// Twice a seen count, as the 16-bit product it is.
long TwiceSeen(const short* S, int r) {
  return To16(2L * S[r - 1]);
}

// One pass of the extraction: scores every kind that could start a set and returns the rank
// to take a set from (0 when none), with the sets it could take in `pickBits`.
int PickKind(short* C, short* K, bool numbered, int& pickBits) {
  for (int r = 1; r <= 9; ++r) K[r] = 0;
  int best = kNoPick;
  int pick = 0;
  for (int r = 1; r <= 9; ++r) {
    if (C[r] < 1) continue;
    long score = 3L * C[r];
    int k = 0;
    if (numbered) {
      if (r > 2) score += C[r - 2];
      if (r > 1) score += 2L * C[r - 1];
      if (r < 9) score += 2L * C[r + 1];
      if (r < 8) score += C[r + 2];
      if (r > 2 && C[r - 1] > 0 && C[r - 2] > 0) k += kRunEnding;
      if (r > 1 && r < 9 && C[r - 1] > 0 && C[r + 1] > 0) k += kRunAround;
      if (r < 8 && C[r + 1] > 0 && C[r + 2] > 0) k += kRunStarting;
    }
    if (C[r] > 2) k += kTriplet;
    K[r] = To16(k == 0 ? 0 : score);
    if (K[r] > 0 && K[r] < best) {
      best = K[r];
      pick = r;
      pickBits = k;
    }
  }
  return pick;
}

// The lowest rank of the set to take for kind r; a triplet is reported as -r. On equal values
// the triplet wins over the run starting at r, which wins over the run around r, which wins
// over the run ending at r.
int ChooseSet(const short* K, int r, int bits) {
  long best = kNoPick;
  int set = 0;
  const auto consider = [&](int bit, long value, int first) {
    if ((bits & bit) != 0 && To16(value) < best) {
      best = value;
      set = first;
    }
  };
  consider(kTriplet, 2L * K[r], -r);
  if (r < 8) consider(kRunStarting, static_cast<long>(K[r + 1]) + K[r + 2], r);
  if (r > 1 && r < 9) consider(kRunAround, static_cast<long>(K[r - 1]) + K[r + 1], r - 1);
  if (r > 2) consider(kRunEnding, static_cast<long>(K[r - 2]) + K[r - 1], r - 2);
  return set;
}

void MoveToSet(short* C, short* U, int r) {
  C[r] = To16(C[r] - 1L);
  U[r] = To16(U[r] + 1L);
}

void ScoreHonours(short& n, const short* C, const short* U, const short* S) {
  for (int r = 1; r <= 7; ++r) {
    if (C[r] <= 0) continue;
    Add(n, C[r] == 1 ? -100 : -30);
    Add(n, -TwiceSeen(S, r));
    Add(n, To16(50L * U[r]));
  }
}

// What the kinds around a kind add to its value: every other kind of the hand within four
// ranks, and the tiles in sets within two. `c` and `u` hold ranks 1..9 at 4..12 with zeros
// beside them, so the window needs no guards; a kind only counts while it is held (a count
// above zero). All terms are positive, so one sum stored once overflows exactly when the
// terms stored one by one would.
long Neighbours(const int* c, const int* u, int r) {
  const auto held = [](int v) { return v > 0 ? v : 0; };
  const int* cr = c + r + 3;
  const int* ur = u + r + 3;
  long sum = 15L * held(cr[0]);
  sum += 27L * held(cr[-1]) / 2 + 27L * held(cr[1]) / 2;
  sum += 4L * held(cr[-2]) + 4L * held(cr[2]);
  sum += 7L * held(cr[-3]) / 3 + 7L * held(cr[3]) / 3;
  sum += 2L * held(cr[-4]) + 2L * held(cr[4]);
  sum += 5L * held(ur[0]);
  sum += 9L * held(ur[-1]) / 2 + 9L * held(ur[1]) / 2;
  sum += 4L * held(ur[-2]) + 4L * held(ur[2]);
  return sum;
}

void ScoreNumbered(short& n, const short* C, const short* U, const short* S) {
  int c[17] = {};
  int u[17] = {};
  for (int r = 1; r <= 9; ++r) {
    c[r + 3] = C[r];
    u[r + 3] = U[r];
  }
  const bool pair = C[2] >= 2 || C[5] >= 2 || C[8] >= 2;
  const long middles = static_cast<long>(C[2]) + C[5] + C[8];
  for (int r = 1; r <= 9; ++r) {
    if (C[r] <= 0) continue;
    Add(n, -60);
    Add(n, -TwiceSeen(S, r));
    if (r == 2 || r == 5 || r == 8) {
      Add(n, pair ? 54 : 10);
      if (To16(middles) < 2) Add(n, 8);
    }
    Add(n, 4);
    Add(n, -(r > 5 ? r - 5 : 5 - r));
    Add(n, Neighbours(c, u, r));
  }
}

// The concealed run of custom(0) as mj indexes [first, last].
struct Run {
  int first, last;
};
Run ConcealedRun(const SeatRecord& me) {
  return {me.HandStart, me.HandStart + me.HandCount - 1};
}

// The rows of suit s as CountHand left them, put back before each evaluation of that suit
// instead of counting the whole hand again.
void RestoreSuit(HandEvaluation& e, const HandEvaluation& counted, int s) {
  e.KindCount(s) = counted.KindCount(s);
  e.SetTileCount(s) = counted.SetTileCount(s);
  e.KindScore(s) = counted.KindScore(s);
}

// Number of concealed tiles with the suit bits of `code`.
int SuitTileCount(const SeatRecord& me, int code) {
  const Run run = ConcealedRun(me);
  int count = 0;
  for (int i = run.first; i <= run.last; ++i) {
    if (((me.mj(i).value ^ code) & 0xF0) == 0) ++count;
  }
  return count;
}

// The first concealed index holding `code`, or -1.
int FindConcealed(const SeatRecord& me, int code) {
  const Run run = ConcealedRun(me);
  for (int i = run.first; i <= run.last; ++i) {
    if (me.mj(i).value == code) return i;
  }
  return -1;
}

// A chow on `tile` with the hand's ranks a and b; improves `best` and the claim on a gain.
void TryChow(Client& c, int s, int a, int b, int tile, long& best) {
  auto& e = c.evaluation;
  CountHand(c);
  Row& C = e.KindCount(s);
  if (C(a) < 1 || C(b) < 1) return;
  C(a) = To16(C(a) - 1L);
  C(b) = To16(C(b) - 1L);
  const long v = To16(EvaluateSuit(c, kAfterChow, tile) + static_cast<long>(kSetBonus));
  if (v > best) {
    e.ClaimFirst = static_cast<short>(Code(s, a));
    e.ClaimSecond = static_cast<short>(Code(s, b));
    best = v;
  }
}

}  // namespace

void CountHand(Client& c) {
  auto& e = c.evaluation;
  for (int s = 0; s <= 3; ++s) {
    e.KindCount(s).Fill(0);
    e.SetTileCount(s).Fill(0);
    e.KindScore(s).Fill(0);
  }
  SeatRecord& me = c.table.custom(0);
  const Run run = ConcealedRun(me);
  for (int i = run.first; i <= run.last; ++i) {
    short& value = me.mj(i).value;
    value = static_cast<short>(value & 0xFF);
    const int s = SuitIndex(value);
    const int r = value & 0x0F;
    if (r >= 1 && r <= 9) Add(e.KindCount(s)(r), 1);
  }
}

short EvaluateSuit(Client& c, int mode, int tile) {
  auto& e = c.evaluation;
  const int s = SuitIndex(tile);
  const int t = tile & 0x0F;
  short* C = e.KindCount(s).data();
  short* U = e.SetTileCount(s).data();
  short* K = e.KindScore(s).data();
  const short* S = c.table.SeenCount(s).data();
  const bool numbered = s >= 1;
  short n = 0;

  if (mode == kWithoutTile) C[t] = To16(C[t] - 1L);

  for (int pass = 0; pass < kMaxPasses; ++pass) {
    int bits = 0;
    const int pick = PickKind(C, K, numbered, bits);
    if (pick == 0) break;
    const int set = ChooseSet(K, pick, bits);
    for (int j = 0; j < 3; ++j) MoveToSet(C, U, set < 0 ? -set : set + j);
    if (mode < kLeftoversOnly) Add(n, kSetBonus);
  }

  if (numbered) {
    ScoreNumbered(n, C, U, S);
  } else {
    ScoreHonours(n, C, U, S);
  }

  if (mode == kWithoutTile) C[t] = To16(C[t] + 1L);
  return n;
}

short ChooseDiscard(Client& c) {
  auto& e = c.evaluation;
  const SeatRecord& me = c.table.custom(0);
  const Run run = ConcealedRun(me);
  short best = kNoClaim;
  int choice = run.last;
  // Every evaluation below starts from the counted hand: count once, and put the rows of the
  // suit being evaluated back before each evaluation. A suit as the hand holds it scores the
  // same for every tile judged, so it is evaluated once, when first needed.
  CountHand(c);
  const HandEvaluation counted = e;
  std::array<short, 4> whole{};
  std::array<bool, 4> known{};
  int previous = -1;
  for (int i = run.first; i <= run.last; ++i) {
    const int value = me.mj(i).value;
    // The same tile as the one before scores the same, which is no improvement.
    if (value == previous) continue;
    previous = value;
    const int s = SuitIndex(value);
    short total = 0;
    for (int k = 0; k <= 3; ++k) {
      if (k == s) continue;
      if (!known[k]) {
        RestoreSuit(e, counted, k);
        whole[k] = EvaluateSuit(c, kAsCounted, Code(k, 1));
        known[k] = true;
      }
      Add(total, whole[k]);
    }
    RestoreSuit(e, counted, s);
    Add(total, EvaluateSuit(c, kWithoutTile, value));
    if (total > best) {
      best = total;
      if (SuitTileCount(me, me.mj(choice).value) >= 2) choice = i;
    }
  }
  return me.mj(choice).value;
}

bool ShouldClaim(Client& c, int kind, int tile) {
  auto& e = c.evaluation;
  tile &= 0xFF;
  const int s = SuitIndex(tile);
  const int r = tile & 0x0F;
  e.ClaimFirst = 0;
  e.ClaimSecond = 0;
  long claimed = kNoClaim;
  if (kind == 1) {
    if (r > 2) TryChow(c, s, r - 2, r - 1, tile, claimed);
    if (r > 1 && r < 9) TryChow(c, s, r - 1, r + 1, tile, claimed);
    if (r < 8) TryChow(c, s, r + 1, r + 2, tile, claimed);
    const SeatRecord& me = c.table.custom(0);
    if (const int i = FindConcealed(me, e.ClaimFirst); i >= 0) e.ClaimFirst = static_cast<short>(i);
    if (const int i = FindConcealed(me, e.ClaimSecond); i >= 0) {
      e.ClaimSecond = static_cast<short>(i);
    }
  } else {
    CountHand(c);
    Row& C = e.KindCount(s);
    C(r) = To16(C(r) - 2L);
    e.ClaimFirst = static_cast<short>(Code(s, r));
    claimed = To16(EvaluateSuit(c, kAfterPung, tile) + static_cast<long>(kSetBonus));
  }
  CountHand(c);
  const short base = EvaluateSuit(c, kAsCounted, tile);
  return To16(claimed - base) > kClaimGain;
}

bool HandNearlyComplete(Client& c) {
  short total = 0;
  for (int k = 0; k <= 3; ++k) {
    CountHand(c);
    Add(total, EvaluateSuit(c, kLeftoversOnly, Code(k, 1)));
  }
  return total >= -99;
}

}  // namespace tallow
