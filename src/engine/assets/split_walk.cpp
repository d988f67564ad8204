#include "engine/assets/split_walk.h"

#include <algorithm>
#include <cstddef>

namespace Engine {

namespace {

using Code = HuffmanCode;

// Each lane starts this many bytes ahead of the one before, or an equal share of what is left of
// the window when that is less. Joining costs a few codes; what the lanes walked past the end of
// the block is lost.
constexpr std::ptrdiff_t kSpan = 2048;
constexpr std::ptrdiff_t kShortestSpan = 256;
// Codes a lane started at a byte boundary may take to fall into step with the codes as written:
// almost always a handful. Past this many the later lane is dropped and the earlier walks its part.
constexpr unsigned kJoinSteps = 256;

}  // namespace

SplitWalk::SplitWalk(const CodeRuns& table, const HuffmanCode& literalCode, const HuffmanCode& distanceCode)
    : runs(table), literals(literalCode), distances(distanceCode) {
#if SPLIT_WALK_BMI2
    static const bool hasBmi2 = __builtin_cpu_supports("bmi2");
    bmi2 = hasBmi2;
#endif
}

SplitWalk::Lane SplitWalk::StartAt(const unsigned char* byte, unsigned bit) const {
    // Two loads, so that the lane holds at least 56 bits and all 64 of its buffer are the
    // stream's, as after any refill.
    Lane lane;
    lane.bits = BitReader::LoadWord(byte) >> bit;
    const unsigned count = 56 - bit;
    lane.bits |= BitReader::LoadWord(byte + 7) << count;
    lane.next = byte + 14 - (count >> 3);
    lane.count = count | 56;
    lane.entry = runs.Lookup(lane.bits);
    lane.sum = 0;
    return lane;
}

uint64_t SplitWalk::Single(uint64_t bits, unsigned count) const {
    uint32_t entry = literals.Decode(bits, count);
    if (Code::Is(entry, Code::kLiteral)) return Code::CodeBits(entry) | (uint64_t{1} << 32);
    if (!Code::Is(entry, Code::kLength)) return 0;
    const uint64_t length = Code::ValueWithExtra(entry, bits);
    unsigned used = Code::Bits(entry);
    uint32_t distance = distances.Lookup(bits >> used);
    if (Code::Is(distance, Code::kLong)) distance = distances.DecodeLong(bits >> used, count - used);
    if (!Code::Is(distance, Code::kSymbol)) return 0;
    used += Code::Bits(distance);
    return used <= count ? used | (length << 32) : 0;
}

// After a refill a lane holds at least 56 bits and the 64 of its buffer are all the stream's: an
// entry takes at most 25 of them (48 for a code the table does not hold), a flagged one at most
// 12 and the distance after it at most 28, and the next entry's 12 bits are there before the
// refill, so that a lane waits only on its lookups.
template <bool calls>
SPLIT_WALK_INLINE bool SplitWalk::Step(Lane& lane) const {
    uint64_t entry = lane.entry;
    uint64_t bits = lane.bits;
    unsigned count = lane.count;
    if ((entry & CodeRuns::kMore) == 0) {
        // The low half of an entry is its bits alone.
        bits >>= static_cast<uint32_t>(entry);
        count -= static_cast<uint32_t>(entry);
    } else if (CodeRuns::Bits(entry) == 0) {
        entry = runs.Long(entry, bits);
        if ((entry & CodeRuns::kMore) != 0) {
            if (!calls) return false;
            entry = Single(bits, count);
            if (entry == 0) return false;
        }
        bits >>= CodeRuns::Bits(entry);
        count -= CodeRuns::Bits(entry);
    } else {
        bits >>= CodeRuns::Bits(entry);
        count -= CodeRuns::Bits(entry);
        uint32_t distance = distances.Lookup(bits);
        if (Code::Is(distance, Code::kLong)) distance = distances.LongDistance(distance, bits);
        if (!Code::Is(distance, Code::kSymbol)) return false;
        bits >>= Code::Bits(distance);
        count -= Code::Bits(distance);
    }
    lane.sum += entry;
    lane.entry = runs.Lookup(bits);
    lane.bits = bits | BitReader::LoadWord(lane.next) << count;
    lane.next += 7 - (count >> 3);
    lane.count = count | 56;
    return true;
}

SPLIT_WALK_INLINE bool SplitWalk::TwoSteps(Lane& lane) const {
    const uint64_t entry = lane.entry;
    if ((entry & CodeRuns::kMore) != 0) return Step<false>(lane);
    // Two plain entries take at most 50 bits and the lookup after them 12: the 64 bits loaded at
    // the last refill hold them all.
    uint64_t bits = lane.bits >> static_cast<uint32_t>(entry);
    unsigned count = lane.count - static_cast<uint32_t>(entry);
    lane.sum += entry;
    uint64_t next = runs.Lookup(bits);
    if ((next & CodeRuns::kMore) == 0) {
        bits >>= static_cast<uint32_t>(next);
        count -= static_cast<uint32_t>(next);
        lane.sum += next;
        next = runs.Lookup(bits);
    }
    lane.entry = next;
    lane.bits = bits | BitReader::LoadWord(lane.next) << count;
    lane.next += 7 - (count >> 3);
    lane.count = count | 56;
    return true;
}

template <unsigned count>
SPLIT_WALK_INLINE unsigned SplitWalk::LaneRounds(Lanes& lanes, const Ends& ends) const {
    static_assert(count >= 2 && count <= kLanes, "two to four lanes");
    // Copies, so that the lanes stay in registers; those past `count` copy the second and are
    // not stepped.
    Lane first = lanes[0];
    Lane second = lanes[1];
    Lane third = lanes[count > 2 ? 2 : 1];
    Lane fourth = lanes[count > 3 ? 3 : 1];
    unsigned owes = count;
    // A refill moves a lane at most seven bytes: so many rounds keep all short of their ends.
    auto rounds = [&] {
        std::ptrdiff_t room = std::min(ends[0] - first.next, ends[1] - second.next);
        if (count > 2) room = std::min(room, ends[2] - third.next);
        if (count > 3) room = std::min(room, ends[3] - fourth.next);
        return room / 7;
    };
    for (std::ptrdiff_t left; owes == count && (left = rounds()) > 0;) {
        for (; left > 0; --left) {
            if (!TwoSteps(first)) {
                owes = 0;
                break;
            }
            if (!TwoSteps(second)) {
                owes = 1;
                break;
            }
            if (count > 2 && !TwoSteps(third)) {
                owes = 2;
                break;
            }
            if (count > 3 && !TwoSteps(fourth)) {
                owes = 3;
                break;
            }
        }
    }
    lanes[0] = first;
    lanes[1] = second;
    if (count > 2) lanes[2] = third;
    if (count > 3) lanes[3] = fourth;
    return owes;
}

unsigned SplitWalk::Rounds(Lanes& lanes, const Ends& ends, unsigned count) const {
#if SPLIT_WALK_BMI2
    if (bmi2) return RoundsBmi2(lanes, ends, count);
#endif
    return AnyRounds(lanes, ends, count);
}

SPLIT_WALK_INLINE unsigned SplitWalk::AnyRounds(Lanes& lanes, const Ends& ends, unsigned count) const {
    if (count == 4) return LaneRounds<4>(lanes, ends);
    return count == 3 ? LaneRounds<3>(lanes, ends) : LaneRounds<2>(lanes, ends);
}

#if SPLIT_WALK_BMI2
// The same loop with shifts by a count in any register, one instruction each: a tenth of the
// loop's instructions are shifts by the entry's or the buffer's count.
__attribute__((target("bmi2"))) unsigned SplitWalk::RoundsBmi2(Lanes& lanes, const Ends& ends,
                                                               unsigned count) const {
    return AnyRounds(lanes, ends, count);
}
#endif

inline bool SplitWalk::WalkTo(Lane& lane, const unsigned char* until) const {
    while (lane.next < until) {
        if (!Step<false>(lane) && !Step<true>(lane)) return false;
    }
    return true;
}

SplitWalk::Joined SplitWalk::Join(Lane lane, Lane ahead, const unsigned char* start) const {
    // Positions in bits from `start`: a lane's codes are a function of where it stands.
    auto position = [start](const Lane& l) {
        return (l.next - start) * 8 - static_cast<std::ptrdiff_t>(l.count);
    };
    Lane replay = StartAt(start, 0);
    for (unsigned steps = 0; steps < kJoinSteps;) {
        const std::ptrdiff_t at = position(lane);
        const std::ptrdiff_t replayAt = position(replay);
        if (at == replayAt) {
            // The codes from here on are those `ahead` walked: its sum counts them once replay's
            // is taken off.
            ahead.sum += lane.sum - replay.sum;
            return {ahead, true};
        }
        if (at < replayAt) {
            if (lane.next >= stop || !Step<true>(lane)) return {lane, false};
        } else {
            if (replay.next >= stop || !Step<true>(replay)) break;
            ++steps;
        }
    }
    return {lane, true};
}

void SplitWalk::Run(BitReader& in, uint64_t& made) {
    const unsigned char* byte = nullptr;
    unsigned bit = 0;
    in.Locate(byte, bit);
    if (in.WindowEnd() - byte < 16) return;
    stop = in.WindowEnd() - 8;
    Lane lane = StartAt(byte, bit);
    for (bool going = true; going;) {
        const std::ptrdiff_t left = stop - lane.next;
        if (left < std::ptrdiff_t{kLanes} * kShortestSpan) {
            WalkTo(lane, stop);
            break;
        }
        // Each lane has a part of `span` bytes, and ends it with its position before the next
        // lane's start: it moves at most seven bytes per step and holds at least 56 bits after it.
        const std::ptrdiff_t span = std::min(kSpan, left / std::ptrdiff_t{kLanes});
        Lanes lanes;
        Ends ends;
        lanes[0] = lane;
        for (unsigned n = 1; n <= kLanes; ++n) ends[n - 1] = lane.next + span * std::ptrdiff_t{n};
        for (unsigned n = 1; n < kLanes; ++n) lanes[n] = StartAt(ends[n - 1], 0);
        // The lanes step together while none needs a call; the one that does takes one step
        // with it. A lane that stops, or comes near its end, leaves the others to go on: most
        // often the last lane runs past the end of the block while the others still have their
        // parts before them.
        Lanes active = lanes;
        Ends activeEnds = ends;
        std::array<unsigned, kLanes> which = {0, 1, 2, 3};  // the lane each of `active` is
        for (unsigned count = kLanes; count > 1;) {
            const unsigned owes = Rounds(active, activeEnds, count);
            unsigned out = count;
            if (owes < count) {
                if (!Step<true>(active[owes])) out = owes;
            } else {
                // Rounds ran out: a lane is within a step of its end, and finishes alone.
                for (out = 0; out + 1 < count && activeEnds[out] - active[out].next >= 7;) ++out;
                WalkTo(active[out], activeEnds[out]);
            }
            if (out == count) continue;
            lanes[which[out]] = active[out];
            // When the first lane stops short of its end, the lanes after it are of no use.
            if (which[out] == 0 && active[out].next < activeEnds[out]) break;
            for (unsigned n = out; n + 1 < count; ++n) {
                active[n] = active[n + 1];
                activeEnds[n] = activeEnds[n + 1];
                which[n] = which[n + 1];
            }
            if (--count == 1) lanes[which[0]] = active[0];
        }
        // Then each lane walks on to where the next started, and takes it over where they meet.
        lane = lanes[0];
        for (unsigned n = 1; n < kLanes && going; ++n) {
            going = WalkTo(lane, ends[n - 1]);
            if (!going) break;
            const Joined joined = Join(lane, lanes[n], ends[n - 1]);
            lane = joined.lane;
            going = joined.going;
        }
    }
    in.Seek(lane.next - (lane.count + 7) / 8, (8 - lane.count % 8) % 8);
    made += CodeRuns::Made(lane.sum);
}

}  // namespace Engine
