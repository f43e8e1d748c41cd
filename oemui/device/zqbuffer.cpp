#include "device/zqbuffer.h"

#include <malloc.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

void ZQThrowLastError(DWORD dwError) {
    SetLastError(dwError);
    throw CExceptSetLastErr(dwError);
}

// ---------------------------------------------------------------------------------------------
// Handle
// ---------------------------------------------------------------------------------------------
namespace {

constexpr size_t kAlignments[CZQMemHandle::kAlignmentKinds] = {0, 1, 2, 4, 8, 64};
constexpr size_t kOwnerSlot = sizeof(void*);
constexpr size_t kUnknownSize = static_cast<size_t>(-1);

}  // namespace

CZQMemHandle::~CZQMemHandle() {
    if (m_wState & kAllocated) CZQMemHandle::VFreeMemory();
    m_wMagic = 0;  // a stale pointer to this handle no longer passes as one
}

LONG CZQMemHandle::IValidate(const CZQMemHandle* pHandle) {
    if (!pHandle || pHandle->m_wMagic != kMagic) return ZQMEM_INVALID_HANDLE;
    const WORD state = pHandle->m_wState;
    if ((state & (kAllocated | kAllocatedEmpty)) == (kAllocated | kAllocatedEmpty)) return ZQMEM_INVALID_HANDLE;
    if ((state & kLockMask) && !(state & (kAllocated | kAllocatedEmpty))) return ZQMEM_INVALID_HANDLE;
    return ZQMEM_OK;
}

CZQMemHandle* CZQMemHandle::POwnerOf(const void* pData) {
    CZQMemHandle* owner = nullptr;
    std::memcpy(&owner, static_cast<const BYTE*>(pData) - kOwnerSlot, sizeof owner);
    return owner;
}

size_t CZQMemHandle::CbAlignment() const { return kAlignments[m_dwAlignKind]; }

// The owner slot, plus room to move the data up to the next aligned address.
size_t CZQMemHandle::CbOverhead() const {
    const size_t align = CbAlignment();
    return kOwnerSlot + (align ? align - 1 : 0);
}

size_t CZQMemHandle::CbDataOffset(const void* pRaw) const {
    const size_t align = CbAlignment();
    const uintptr_t first = reinterpret_cast<uintptr_t>(pRaw) + kOwnerSlot;
    if (align <= 1) return kOwnerSlot;
    return static_cast<size_t>(((first + align - 1) & ~(uintptr_t(align) - 1)) - reinterpret_cast<uintptr_t>(pRaw));
}

void CZQMemHandle::VStoreOwner() const {
    const CZQMemHandle* self = this;
    std::memcpy(static_cast<BYTE*>(PData()) - kOwnerSlot, &self, sizeof self);
}

bool CZQMemHandle::BAllocMemory(size_t cb) {
    if (cb > static_cast<size_t>(-1) - CbOverhead()) return false;
    m_pMemory = std::malloc(cb + CbOverhead());
    if (!m_pMemory) return false;
    VStoreOwner();
    return true;
}

bool CZQMemHandle::BReallocMemory(size_t cb) {
    if (cb > static_cast<size_t>(-1) - CbOverhead()) return false;
    const size_t oldSize = CbSize();
    const size_t oldOffset = CbDataOffset(m_pMemory);
    void* raw = std::realloc(m_pMemory, cb + CbOverhead());
    if (!raw) return false;  // the old block stays as it was
    m_pMemory = raw;
    const size_t offset = CbDataOffset(raw);
    if (offset != oldOffset && oldSize != kUnknownSize) {
        BYTE* base = static_cast<BYTE*>(raw);
        std::memmove(base + offset, base + oldOffset, oldSize < cb ? oldSize : cb);
    }
    VStoreOwner();
    return true;
}

void* CZQMemHandle::PData() const {
    return m_pMemory ? static_cast<BYTE*>(m_pMemory) + CbDataOffset(m_pMemory) : nullptr;
}

void CZQMemHandle::VFreeMemory() {
    std::free(m_pMemory);
    m_pMemory = nullptr;
}

size_t CZQMemHandle::CbSize() const {
    if (!m_pMemory) return 0;
    const size_t raw = _msize(m_pMemory);
    const size_t offset = CbDataOffset(m_pMemory);
    return raw == kUnknownSize || raw < offset ? kUnknownSize : raw - offset;
}

LONG CZQMemHandle::IAllocate(DWORD cb, DWORD dwKind) {
    if (IValidate(this)) return ZQMEM_INVALID_HANDLE;
    if (m_wState & (kAllocated | kAllocatedEmpty)) return ZQMEM_ALREADY_ALLOCATED;
    if (dwKind >= kAlignmentKinds) return ZQMEM_BAD_ALIGNMENT;
    m_dwAlignKind = dwKind;
    if (cb == 0) {
        m_wState |= kAllocatedEmpty;
        return ZQMEM_OK;
    }
    if (!BAllocMemory(cb)) return ZQMEM_NO_MEMORY;
    m_wState |= kAllocated;
    return ZQMEM_OK;
}

LONG CZQMemHandle::IReallocate(DWORD cb, DWORD dwKind) {
    if (IValidate(this)) return ZQMEM_INVALID_HANDLE;
    if (m_wState & kLockMask) return ZQMEM_LOCKED;
    if (dwKind >= kAlignmentKinds) return ZQMEM_BAD_ALIGNMENT;
    const DWORD kind = dwKind ? dwKind : m_dwAlignKind;
    if (m_wState & kAllocated) {
        if (kind != m_dwAlignKind) return ZQMEM_ALIGNMENT_CHANGED;
        if (cb == 0) {
            VFreeMemory();
            m_wState = static_cast<WORD>((m_wState & ~kAllocated) | kAllocatedEmpty);
            return ZQMEM_OK;
        }
        return BReallocMemory(cb) ? ZQMEM_OK : ZQMEM_NO_MEMORY;
    }
    // Allocated-empty or nothing yet: there is no data to keep.
    m_dwAlignKind = kind;
    if (cb == 0) {
        m_wState |= kAllocatedEmpty;
        return ZQMEM_OK;
    }
    if (!BAllocMemory(cb)) return ZQMEM_NO_MEMORY;
    m_wState = static_cast<WORD>((m_wState & ~kAllocatedEmpty) | kAllocated);
    return ZQMEM_OK;
}

LONG CZQMemHandle::IFree() {
    if (IValidate(this)) return ZQMEM_INVALID_HANDLE;
    if (m_wState & kLockMask) return ZQMEM_LOCKED;
    if (m_wState & kAllocatedEmpty) {
        m_wState = static_cast<WORD>(m_wState & ~kAllocatedEmpty);
        return ZQMEM_OK;
    }
    if (!(m_wState & kAllocated)) return ZQMEM_NOT_ALLOCATED;
    VFreeMemory();
    m_wState = static_cast<WORD>(m_wState & ~kAllocated);
    return ZQMEM_OK;
}

LONG CZQMemHandle::ILock(void** ppData) {
    if (IValidate(this)) return ZQMEM_INVALID_HANDLE;
    if (!ppData) return ZQMEM_NO_POINTER;
    // The count has 14 bits: one lock more would spill into the state bits.
    if ((m_wState & kLockMask) == kLockMask) return ZQMEM_LOCKED;
    void* data = nullptr;
    if (m_wState & kAllocatedEmpty) {
        data = &m_wMagic;
    } else {
        if (!(m_wState & kAllocated)) return ZQMEM_NOT_ALLOCATED;
        data = PData();
        if (!data) return ZQMEM_NO_POINTER;
    }
    ++m_wState;
    *ppData = data;
    return ZQMEM_OK;
}

LONG CZQMemHandle::IUnlock() {
    if (IValidate(this)) return ZQMEM_INVALID_HANDLE;
    if (!(m_wState & kLockMask)) return ZQMEM_NOT_LOCKED;
    --m_wState;
    VAfterUnlock();
    return ZQMEM_OK;
}

LONG CZQMemHandle::IIsLocked() const {
    if (IValidate(this)) return ZQMEM_INVALID_HANDLE;
    return (m_wState & kLockMask) ? ZQMEM_LOCKED : ZQMEM_OK;
}

LONG CZQMemHandle::ICheck() const {
    if (IValidate(this)) return ZQMEM_INVALID_HANDLE;
    if ((m_wState & kAllocated) && CbSize() == kUnknownSize) return ZQMEM_SIZE_UNKNOWN;
    return ZQMEM_OK;
}

// ---------------------------------------------------------------------------------------------
// Buffer
// ---------------------------------------------------------------------------------------------
namespace {

// Buffer objects hold pointers: their blocks are aligned for them.
constexpr DWORD kObjectAlignKind = 4;

}  // namespace

void* CZQBuffer::operator new(size_t cb) noexcept {
    auto* handle = new (std::nothrow) CZQMemHandle();
    void* object = nullptr;
    if (!handle) return nullptr;
    if (cb > MAXDWORD || handle->IAllocate(static_cast<DWORD>(cb), kObjectAlignKind) != ZQMEM_OK ||
        handle->ILock(&object) != ZQMEM_OK) {
        delete handle;
        return nullptr;
    }
    return object;
}

void CZQBuffer::operator delete(void* p) noexcept {
    if (!p) return;
    CZQMemHandle* handle = CZQMemHandle::POwnerOf(p);
    handle->IUnlock();
    handle->IFree();
    delete handle;
}

CZQBuffer::CZQBuffer(CZQBufferQuota* pPool) : m_pHandle(new (std::nothrow) CZQMemHandle(this)), m_pPool(pPool) {
    // A buffer the pool cannot list would outlive it unnoticed: it stays unusable instead.
    if (m_pPool && !m_pPool->BAdd(this)) {
        m_pPool = nullptr;
        delete m_pHandle;
        m_pHandle = nullptr;
    }
}

CZQBuffer::~CZQBuffer() {
    if (m_pHandle) {
        while (m_pHandle->DWLockCount()) m_pHandle->IUnlock();
        if (m_cbSize) IFree();
        delete m_pHandle;
    }
    if (m_pPool) m_pPool->VRemove(this);
}

DWORD CZQBuffer::DWAlignmentKindOf(DWORD dwFlags) {
    static const struct {
        DWORD bit;
        DWORD kind;
    } kBits[] = {{0x02, 2}, {0x04, 3}, {0x08, 4}, {0x40, 5}};
    DWORD kind = 1;
    int chosen = 0;
    for (const auto& b : kBits)
        if (dwFlags & b.bit) {
            kind = b.kind;
            ++chosen;
        }
    return chosen == 1 ? kind : 1;
}

LONG CZQBuffer::IAllocate(DWORD cb, DWORD dwFlags, DWORD, DWORD) {
    if (!m_pHandle || cb == 0 || m_cbSize) return ZQBUF_BAD_SIZE;
    if (m_pPool && m_pPool->IReserve(cb) != ZQBUF_OK) return ZQBUF_OVER_LIMIT;
    if (m_pHandle->IAllocate(cb, DWAlignmentKindOf(dwFlags)) != ZQMEM_OK) {
        if (m_pPool) m_pPool->VRelease(cb);
        return ZQBUF_BAD_SIZE;
    }
    m_cbSize = cb;
    m_dwFlags = dwFlags;
    if (dwFlags & kZeroFill) IFill(0);
    return ZQBUF_OK;
}

LONG CZQBuffer::IResize(DWORD cb, DWORD dwFlags) {
    if (cb == 0) return ZQBUF_BAD_SIZE;
    if (!m_cbSize) return IAllocate(cb, dwFlags, 0, 0);
    if (m_pHandle->IIsLocked() != ZQMEM_OK) return ZQBUF_LOCKED;
    const DWORD old = m_cbSize;
    if (m_pPool && cb > old && m_pPool->IReserve(cb - old) != ZQBUF_OK) return ZQBUF_OVER_LIMIT;
    if (m_pHandle->IReallocate(cb, DWAlignmentKindOf(dwFlags)) != ZQMEM_OK) {
        if (m_pPool && cb > old) m_pPool->VRelease(cb - old);
        return ZQBUF_BAD_SIZE;
    }
    if (m_pPool && cb < old) m_pPool->VRelease(old - cb);
    m_cbSize = cb;
    m_dwFlags = dwFlags;
    if (cb > old && (dwFlags & kZeroFill)) {
        if (BYTE* tail = static_cast<BYTE*>(PLockAt(old, cb - old))) {
            std::memset(tail, 0, cb - old);
            IUnlock();
        }
    }
    return ZQBUF_OK;
}

LONG CZQBuffer::IFree() {
    if (!m_cbSize) return ZQBUF_NOT_ALLOCATED;
    if (m_pHandle->IIsLocked() != ZQMEM_OK) return ZQBUF_LOCKED;
    m_pHandle->IFree();
    if (m_pPool) m_pPool->VRelease(m_cbSize);
    m_cbSize = 0;
    return ZQBUF_OK;
}

void* CZQBuffer::PLock() {
    void* data = nullptr;
    if (!m_cbSize || m_pHandle->ILock(&data) != ZQMEM_OK) return nullptr;
    return data;
}

void* CZQBuffer::PLockAt(DWORD dwOffset, DWORD cb) {
    if (dwOffset > m_cbSize || cb > m_cbSize - dwOffset) return nullptr;
    BYTE* data = static_cast<BYTE*>(PLock());
    return data ? data + dwOffset : nullptr;
}

LONG CZQBuffer::IFill(BYTE b) {
    void* data = PLock();
    if (!data) return ZQBUF_NOT_ALLOCATED;
    std::memset(data, b, m_cbSize);
    return IUnlock();
}

LONG CZQBuffer::IUnlock() {
    if (!m_cbSize) return ZQBUF_NOT_ALLOCATED;
    return m_pHandle->IUnlock();
}

BOOL CZQBuffer::BIsValid() const { return m_cbSize && m_pHandle && m_pHandle->ICheck() == ZQMEM_OK; }

// ---------------------------------------------------------------------------------------------
// Pool
// ---------------------------------------------------------------------------------------------
CZQBufferQuota::~CZQBufferQuota() {
    for (Node* node = m_pFirst; node;) {
        Node* next = node->pNext;
        node->pBuffer->m_pPool = nullptr;
        delete node;
        node = next;
    }
}

LONG CZQBufferQuota::IReserve(DWORD cb) {
    if (cb > MAXDWORD - m_cbInUse) return ZQBUF_OVER_LIMIT;
    if (!m_bUnlimited && m_cbInUse + cb > m_cbLimit) return ZQBUF_OVER_LIMIT;
    m_cbInUse += cb;
    return ZQBUF_OK;
}

void CZQBufferQuota::VRelease(DWORD cb) { m_cbInUse -= cb < m_cbInUse ? cb : m_cbInUse; }

BOOL CZQBufferQuota::BContains(const CZQBuffer* pBuffer) const {
    for (const Node* node = m_pFirst; node; node = node->pNext)
        if (node->pBuffer == pBuffer) return TRUE;
    return FALSE;
}

BOOL CZQBufferQuota::BAdd(CZQBuffer* pBuffer) {
    Node* node = new (std::nothrow) Node{pBuffer, m_pLast, nullptr};
    if (!node) return FALSE;
    (m_pLast ? m_pLast->pNext : m_pFirst) = node;
    m_pLast = node;
    ++m_dwCount;
    return TRUE;
}

void CZQBufferQuota::VRemove(CZQBuffer* pBuffer) {
    for (Node* node = m_pFirst; node; node = node->pNext) {
        if (node->pBuffer != pBuffer) continue;
        (node->pPrev ? node->pPrev->pNext : m_pFirst) = node->pNext;
        (node->pNext ? node->pNext->pPrev : m_pLast) = node->pPrev;
        delete node;
        --m_dwCount;
        return;
    }
}
