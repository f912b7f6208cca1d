#pragma once
// The reader's test seams: hooks its own tests install to watch the frame grabber's gate and to hold
// one thread at a chosen point, so that an order of events that a busy machine gives only now and then
// happens every time. Null (the default) for every hook: the reader never calls one then. Only the
// reader built with QEL_TEST_SEAMS (qel_reader_test_seams, for its tests) has them.
namespace qelreader::seams {

// What became of a sample at a paced video grabber's gate.
enum class GateOutcome {
    Parked,  // it waits there for a read to arm the grabber
    Taken,   // let through and taken for the read armed for it
    Skipped, // let through and passed over on the way to the frame a read asked for
    Unread,  // let through with no read taking it: lost to the reads that follow
};

// Called on the reader's thread once the video graph was told to run, before the read goes on.
using VideoGraphRanHook = void (*)();
// Called on a streaming thread for each sample at the gate of a paced video grabber, with the sample's
// time. Samples that a cleared pace lets go are not reported.
using PacedSampleHook = void (*)(double time, GateOutcome outcome);

#ifdef QEL_TEST_SEAMS
// Each installs a hook (null removes it) and returns the one it replaced.
VideoGraphRanHook SetVideoGraphRanHook(VideoGraphRanHook hook);
PacedSampleHook SetPacedSampleHook(PacedSampleHook hook);
#endif

} // namespace qelreader::seams
