#pragma once

namespace tarvelo::services {

// The system mixer service: the volume and mute controls of one output line.
// All calls come from the GUI thread and return at once. Until SelectMixerLine succeeds,
// both controls count as not open.
class Mixer
{
public:
    // Component type of the master output line, the only one the program selects.
    static constexpr int kMasterOutputLine = 4;

    virtual ~Mixer() = default;

    // Opens the volume and mute controls of the line of that component type. Returns 1 when
    // both opened, 0 when neither did, a negative value when only one did.
    virtual int SelectMixerLine(int componentType) = 0;

    // Not open: returns -1 and leaves both out-parameters unchanged. Otherwise sets both to
    // -1 and reads the control; on failure returns -1 with both at -1; on success stores
    // channel 0 into `left` and, on a two-channel line, channel 1 into `right`, and returns 1.
    // Callers may pass one variable as both: it then ends up holding the last channel.
    virtual int GetVolume(int &left, int &right) = 0;

    // Sets channel 0 to `left` and channel 1 to `right` (only `left` on a one-channel line).
    // Returns 1, or 0 on failure or when not open.
    virtual int SetVolume(int left, int right) = 0;

    // The volume control's upper bound (the lower bound is 0); 0 when not open.
    virtual int GetMaxVolume() = 0;

    // 1 muted, 0 not muted, -1 when not open or on failure.
    virtual int GetMute() = 0;

    // 1 mutes, 0 unmutes. Returns 1, or 0 on failure or when not open.
    virtual int SetMute(int flag) = 0;
};

} // namespace tarvelo::services
