// The devmodes after a change on a page: the public devmode's paper fields follow the chosen paper,
// and the sections the pages edited in the logic's working copy reach the core driver's private
// devmode, each in its order and under its condition.
#pragma once

#include <initializer_list>

#include "common/zqcommon.h"

class CZQBinding;
struct ZQUIDevmode;

// What reads the loaded roll's size into the devmodes for a roll source: the Paper/Quality page,
// when the sheet has one.
class IZQLoadedRollReader {
public:
    virtual BOOL BReadLoadedRollSize() = 0;

protected:
    ~IZQLoadedRollReader() = default;
};

// What writes back the sheet's watermark pool, which its Effects page edits: the sheet, when it
// shows that page.
class IZQSheetWatermarks {
public:
    // FALSE when the sheet has no Effects page or the pool could not be written (the page has told
    // the user what was not stored, and why).
    virtual BOOL BSaveSheetWatermarks() = 0;

protected:
    ~IZQSheetWatermarks() = default;
};

class CZQDevmodeSync {
public:
    explicit CZQDevmodeSync(CZQBinding& binding, IZQLoadedRollReader* pRoll = nullptr,
                            IZQSheetWatermarks* pWatermarks = nullptr)
        : m_b(binding), m_pRoll(pRoll), m_pWatermarks(pWatermarks) {}

    // The whole pass over the binding's current block; nothing without one.
    void VSyncAfterChange();
    // The steps; each needs the block's private devmode of ours and the logic's working copy.
    void VSyncPaperSource();
    void VSyncFinishing();
    void VSyncEffects();
    void VSyncJobStorage();
    void VSyncJobOptions();
    void VSyncReservedBlocks();
    void VSyncAppInfo();
    void VSyncQuickSet();

private:
    struct Devmodes {
        POEMCUIPPARAM p;
        ZQUIDevmode* core;  // the block's private devmode, when it is ours
        ZQUIDevmode* work;  // the logic's working copy
    };
    Devmodes Current() const;
    // Sections from the working copy into the driver's devmode, then the logic saves its selections
    // and, when asked, the job-storage user follows; false without both devmodes.
    using Merge = void (CZQCommon::*)(PVOID, PDEVMODEW, const VOID*);
    bool BMergeSections(std::initializer_list<Merge> merges, bool bFixUser);
    // The merges alone, and what follows them.
    bool BMergeOnly(std::initializer_list<Merge> merges);
    void VSaveSelectionsAndUser(bool bFixUser);

    CZQBinding& m_b;
    IZQLoadedRollReader* m_pRoll;
    IZQSheetWatermarks* m_pWatermarks;
};
