// The devmodes after a change on a page: the public devmode's paper fields follow the chosen paper,
// and the sections the pages edited in the logic's working copy reach the core driver's private
// devmode, each in its order and under its condition.
#pragma once

#include "platform/oemuiplatform.h"

class CZQBinding;

class CZQDevmodeSync {
public:
    explicit CZQDevmodeSync(CZQBinding& binding) : m_b(binding) {}

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
    // The job-storage user of the working copy, where the driver's job-storage block is not valid.
    void VFixJobStorageUser();

    CZQBinding& m_b;
};
