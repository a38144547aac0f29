#pragma once

namespace glimmerix
{

// The 30 ms tick of single-file viewing (the program started to show one file). For the first
// 30 ticks the main window stays hidden behind the picture window; the item opens on the 41st
// tick, once, after the program has settled; from the 31st tick on a request to end the program
// (set when the item went to another application) ends it.
class SingleFileTicks
{
public:
    struct Step {
        bool hideFrame = false; // hide the main window and bring the picture window forward
        bool postExit = false; // end the program
        bool openItem = false; // open the album's item now
    };

    static constexpr int kHideTicks = 30;
    static constexpr int kOpenTick = 41;
    static constexpr int kDone = 42;

    // One tick; `exitRequested` is the program's exit-request flag.
    Step tick(bool exitRequested);
    int counter() const { return m_counter; }

private:
    int m_counter = 0;
};

} // namespace glimmerix
