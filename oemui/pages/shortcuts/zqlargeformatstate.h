// What the large-format Printing Shortcuts page keeps between its windows besides its controls, its
// panel's rows and its list's rows: the feature keywords of the driver's language, where the rows'
// handlers read their values, the names of the rows shown and the shortcut's slots.
#pragma once

#include <windows.h>

struct ZQLargeFormatShortcutsState {
    static constexpr size_t kTextChars = 256;
    static constexpr int kFeatureSlots = 15;
    static constexpr int kNoSlotValue = 100;

    // The features' keywords for the driver's language (PostScript or the others); stapling and the
    // two-sided options stay empty until the page is bound.
    WCHAR szKwInputBin[kTextChars] = {}, szKwStapling[kTextChars] = {}, szKwPaperSize[kTextChars] = {},
          szKwOrientation[kTextChars] = {}, szOptPortrait[kTextChars] = {}, szOptLandscape[kTextChars] = {},
          szKwGrayScale[kTextChars] = {}, szOptDuplexLong[kTextChars] = {}, szOptDuplexShort[kTextChars] = {};
    // The template's Scaling and Copies groups stand in a row of the panel.
    BOOL bScalingOnPanel = FALSE, bCopiesOnPanel = FALSE;
    BOOL bHasPrintingHelp = FALSE;
    // The handlers read a row's control (else the row's own choice, while no window shows them).
    BOOL bReadFromControls = TRUE;
    BOOL bPanelChangedByUser = FALSE;
    // The page's start fills its own controls: what they tell meanwhile is not the user's.
    BOOL bStarting = FALSE;
    // The printer data is read-only for the user: his shortcuts are his own.
    BOOL bRestrictedUser = FALSE;
    // The selected row is a stored shortcut (of that name), not a document type.
    BOOL bStoredShortcutShown = FALSE;
    WCHAR szStoredShortcutName[kTextChars] = {};
    // The settings differ from the shortcut shown; a value the panel's lists lacked was added.
    BOOL bSettingsDiffer = FALSE;
    BOOL bCustomChoiceAdded = FALSE;
    // The stapling row's list (0: none).
    int iStaplingListId = 0;
    // The "Customized Settings" row's text, the row the quick set in force names, the first document
    // type.
    WCHAR szCustomizedText[kTextChars] = {};
    WCHAR szCurrentName[kTextChars] = {};
    WCHAR szBaseDocType[kTextChars] = {};
    // The stored shortcut's choice per feature (kNoSlotValue: none).
    int anFeatureSlot[kFeatureSlots] = {kNoSlotValue, kNoSlotValue, kNoSlotValue, kNoSlotValue, kNoSlotValue,
                                        kNoSlotValue, kNoSlotValue, kNoSlotValue, kNoSlotValue, kNoSlotValue,
                                        kNoSlotValue, kNoSlotValue, kNoSlotValue, kNoSlotValue, kNoSlotValue};
};
