#pragma once

#include <QString>

namespace glimmerix
{

// What a contact-sheet print run prints and how. The view makes one at its first Print command and
// keeps it for its life, so the choices persist within a run; the dialog edits it and the page
// painter reads it.
struct PrintOptions {
    enum Range { AllItems = 0, SelectedItems = 1, NumberedItems = 2 };
    // Grid choices: 4 x 4 cells with 7-point labels, 3 x 3 with 8, 2 x 2 with 10.
    enum Grid { Grid4 = 0, Grid3 = 1, Grid2 = 2 };

    int range = AllItems;
    int from = 1; // 1-based item numbers for NumberedItems
    int to = 1;
    bool highQuality = true; // the full picture on printers above 200 dots per inch
    int grid = Grid4;
    bool squareCrop = false;
    bool includeMedia = true;
    bool itemTexts = true;
    bool fileNames = false; // only when itemTexts is off
    bool pageNumbers = true;
    bool backgroundOn = true;
    bool borderOn = true;
    QString backgroundName; // entry of the "*.bkg" list, or empty
    QString borderName; // entry of the "*.frm" list, or empty
    QString title;
    QString footer;
};

// Cells across and down and the label font of a grid choice.
struct GridChoice {
    int cells = 4; // rows and columns
    int labelTenths = 70; // label font size in tenths of a point
};
GridChoice gridChoice(int grid);

// The message that refuses the numbered range (57004: a number below 1, 57005: to before from),
// or 0 when the options can be used. Other ranges are always accepted.
int rangeProblem(const PrintOptions &options);

} // namespace glimmerix
