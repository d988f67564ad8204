// The fast part of the stream check: walks the common codes of a coded block through the runs
// table in four lanes at once, each from a byte further on, and keeps a lane's count from where
// the codes of the lane before meet its own. Made by the stream check for one window of a block;
// one thread.
#pragma once

#include "engine/assets/bit_reader.h"
#include "engine/assets/code_runs.h"
#include "engine/assets/huffman_code.h"

#include <array>
#include <cstdint>

// The lane loop is also built for processors with BMI2 and chosen when the processor has it.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define SPLIT_WALK_BMI2 1
#else
#define SPLIT_WALK_BMI2 0
#endif
// The steps are inlined into each build of the loop.
#define SPLIT_WALK_INLINE __attribute__((always_inline)) inline

namespace Engine {

class SplitWalk {
public:
    SplitWalk(const CodeRuns& runs, const HuffmanCode& literals, const HuffmanCode& distances);

    // Walks from the reader's position while 16 bytes of its window are left, and leaves the
    // reader at the first code it does not read through (the end of the block, a code the block
    // does not use, a reserved symbol, ...), adding the bytes made to `made`. Only once the stream
    // has made 32 KiB: distances are not compared with what has been made.
    void Run(BitReader& in, uint64_t& made);

private:
    // One lane: a bit buffer over the window, the runs entry for the bits at its bottom (looked up
    // before the buffer was last refilled) and the entries walked, added up.
    struct Lane {
        uint64_t bits;
        const unsigned char* next;  // the first byte not yet in the buffer
        uint64_t entry;
        uint64_t sum;
        unsigned count;  // bits in the buffer
    };
    // Lanes walked in turn: four keep the processor busy while each waits on its lookups (five
    // no longer fit its registers).
    static constexpr unsigned kLanes = 4;
    using Lanes = std::array<Lane, kLanes>;
    using Ends = std::array<const unsigned char*, kLanes>;  // where each lane must stop
    struct Joined {
        Lane lane;
        bool going;  // false when the lane stopped
    };

    Lane StartAt(const unsigned char* byte, unsigned bit) const;
    // Moves past the lane's entry; false, with the lane unchanged, at a code it does not read
    // through. Without `calls`, also at the codes that need a function call: a loop of such
    // steps keeps its lanes in registers.
    template <bool calls>
    bool Step(Lane& lane) const;
    // One or two plain entries with one refill, or one step without calls.
    bool TwoSteps(Lane& lane) const;
    // Steps the first `count` (two to four) lanes in turn while none has come within a step of
    // its end and none needs a call; returns the lane that stopped for one, or `count`.
    unsigned Rounds(Lanes& lanes, const Ends& ends, unsigned count) const;
    template <unsigned count>
    unsigned LaneRounds(Lanes& lanes, const Ends& ends) const;
    unsigned AnyRounds(Lanes& lanes, const Ends& ends, unsigned count) const;
#if SPLIT_WALK_BMI2
    __attribute__((noinline)) unsigned RoundsBmi2(Lanes& lanes, const Ends& ends, unsigned count) const;
#endif
    // Steps while the lane has not reached `until`; false when it stops first.
    bool WalkTo(Lane& lane, const unsigned char* until) const;
    // The entry of one literal or whole match (at most 48 bits) at the bottom of `bits`, for the
    // codes the runs table does not hold; 0 when it is none.
    uint64_t Single(uint64_t bits, unsigned count) const;
    // Walks `lane` on until it stands where `ahead`, started at `start`, has stood, then takes
    // over `ahead`; when they do not meet soon, the lane where it got to.
    Joined Join(Lane lane, Lane ahead, const unsigned char* start) const;

    const CodeRuns& runs;
    const HuffmanCode& literals;
    const HuffmanCode& distances;
    const unsigned char* stop = nullptr;  // lanes step only while their next byte is before it
    bool bmi2 = false;
};

}  // namespace Engine
