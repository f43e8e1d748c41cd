// A small movable-memory library: a handle over one malloc block whose data can be aligned and is
// reached by locking, a sized buffer over one handle, and an optional pool limit for buffers. The
// block keeps its owning handle in the pointer right before the aligned data, so a locked pointer
// leads back to its handle. Operations answer the result codes below (0 success).
#pragma once

#include <windows.h>

#include <cstddef>

// The one exception class of the system: the Windows error code, also set as the thread's last
// error before the throw.
class CExceptSetLastErr {
public:
    explicit CExceptSetLastErr(DWORD dwError) : m_dwError(dwError) {}
    DWORD DWError() const { return m_dwError; }

private:
    DWORD m_dwError;
};
// Sets the last error and throws it.
[[noreturn]] void ZQThrowLastError(DWORD dwError);

// Result codes of the handle.
enum : LONG {
    ZQMEM_OK = 0,
    ZQMEM_INVALID_HANDLE = -2900,    // null, wrong magic, broken state, or locks without memory
    ZQMEM_NOT_LOCKED = -2901,
    ZQMEM_LOCKED = -2902,
    ZQMEM_ALREADY_ALLOCATED = -2903,
    ZQMEM_NOT_ALLOCATED = -2904,
    ZQMEM_BAD_ALIGNMENT = -2905,     // alignment kind outside 0..5
    ZQMEM_ALIGNMENT_CHANGED = -2906, // a reallocation that changes the alignment kind
    ZQMEM_NO_MEMORY = -2907,
    ZQMEM_NO_POINTER = -2909,
    ZQMEM_SIZE_UNKNOWN = -2910,
    ZQMEM_FREE_LIBRARY_FAILED = -2801,
};
// Result codes of the buffer.
enum : LONG {
    ZQBUF_OK = 0,
    ZQBUF_BAD_SIZE = -100,           // bad size, or the allocation failed
    ZQBUF_LOCKED = -102,
    ZQBUF_OVER_LIMIT = -103,
    ZQBUF_NOT_ALLOCATED = -104,
};

class CZQBuffer;

// A movable memory block. Alignment kinds 0..5 stand for alignments 0 (none), 1, 2, 4, 8 and 64.
class CZQMemHandle {
public:
    static constexpr WORD kMagic = 0xABCD;
    static constexpr DWORD kAlignmentKinds = 6;

    explicit CZQMemHandle(CZQBuffer* pOwner = nullptr) : m_pOwner(pOwner) {}
    CZQMemHandle(const CZQMemHandle&) = delete;
    CZQMemHandle& operator=(const CZQMemHandle&) = delete;

    // ZQMEM_INVALID_HANDLE for a null or broken handle, else 0.
    static LONG IValidate(const CZQMemHandle* pHandle);
    // The handle owning a block whose data a lock handed out (no check: the pointer must be one).
    static CZQMemHandle* POwnerOf(const void* pData);

    // Size 0 marks the handle allocated-empty (no memory, locks give a dummy pointer).
    LONG IAllocate(DWORD cb, DWORD dwKind);
    // Kind 0 keeps the current alignment; the data moves with the block and stays aligned.
    LONG IReallocate(DWORD cb, DWORD dwKind);
    LONG IFree();
    // The data (a dummy non-null pointer for an allocated-empty handle, not to be written).
    LONG ILock(void** ppData);
    LONG IUnlock();
    LONG IIsLocked() const;

    DWORD DWLockCount() const { return m_wState & kLockMask; }
    CZQBuffer* Owner() const { return m_pOwner; }

    // ---- the virtual operations, in slot order
protected:
    // The memory itself (malloc family): the raw block holds the owner pointer and the aligned data.
    virtual bool BAllocMemory(size_t cb);
    virtual bool BReallocMemory(size_t cb);
    virtual void* PData() const;
    virtual void VAfterUnlock() {}
    virtual void VFreeMemory();

public:
    // Valid, and the size of its memory can be determined.
    virtual LONG ICheck() const;
    // Bytes of the data, (size_t)-1 when they cannot be determined.
    virtual size_t CbSize() const;
    virtual ~CZQMemHandle();

private:
    static constexpr WORD kLockMask = 0x3FFF;
    static constexpr WORD kAllocated = 0x4000;
    static constexpr WORD kAllocatedEmpty = 0x8000;

    size_t CbAlignment() const;
    size_t CbOverhead() const;
    // Offset of the aligned data in a raw block at that address.
    size_t CbDataOffset(const void* pRaw) const;
    void VStoreOwner() const;

    WORD m_wState = 0;
    WORD m_wMagic = kMagic;
    CZQBuffer* m_pOwner;
    DWORD m_dwAlignKind = 0;
    void* m_pMemory = nullptr;
};

class CZQBufferQuota;

// A sized buffer over one handle. Flags: bit 0 zero-fills new memory; exactly one of bits 1, 2, 3
// and 6 chooses alignment 2, 4, 8 or 64 bytes, none or several of them alignment 1.
class CZQBuffer {
public:
    static constexpr DWORD kZeroFill = 0x1;

    // The buffer joins the pool's list (none: no limit) and leaves it when destroyed.
    explicit CZQBuffer(CZQBufferQuota* pPool = nullptr);
    CZQBuffer(const CZQBuffer&) = delete;
    CZQBuffer& operator=(const CZQBuffer&) = delete;
    // Buffer objects live in blocks of the handle library themselves; a failed allocation gives null.
    static void* operator new(size_t cb) noexcept;
    static void operator delete(void* p) noexcept;

    virtual LONG IAllocate(DWORD cb, DWORD dwFlags, DWORD dwReserved1, DWORD dwReserved2);
    virtual LONG IFree();
    virtual CZQBufferQuota* Pool() const { return m_pPool; }
    virtual DWORD DWSize() const { return m_cbSize; }
    // The data, null while unsized; each lock is undone by one unlock.
    virtual void* PLock();
    // The data from that offset when cb bytes from there lie inside the buffer, else null (unlocked).
    virtual void* PLockAt(DWORD dwOffset, DWORD cb);
    virtual LONG IResize(DWORD cb, DWORD dwFlags);
    virtual LONG IFill(BYTE b);
    virtual LONG IUnlock();
    virtual BOOL BIsValid() const;
    virtual ~CZQBuffer();

    static DWORD DWAlignmentKindOf(DWORD dwFlags);
    CZQMemHandle* Handle() const { return m_pHandle; }

private:
    friend class CZQBufferQuota;
    CZQMemHandle* m_pHandle;
    CZQBufferQuota* m_pPool;
    DWORD m_cbSize = 0;
    DWORD m_dwFlags = 0;
};

// A limit on the bytes a pool's buffers hold, and the list of those buffers.
class CZQBufferQuota {
public:
    // Without a limit the pool only counts.
    CZQBufferQuota() = default;
    explicit CZQBufferQuota(DWORD cbLimit) : m_bUnlimited(false), m_cbLimit(cbLimit) {}
    // Buffers still in the list lose their pool.
    ~CZQBufferQuota();
    CZQBufferQuota(const CZQBufferQuota&) = delete;
    CZQBufferQuota& operator=(const CZQBufferQuota&) = delete;

    // ZQBUF_OVER_LIMIT when the bytes would pass the limit.
    LONG IReserve(DWORD cb);
    void VRelease(DWORD cb);
    DWORD DWInUse() const { return m_cbInUse; }
    DWORD DWCount() const { return m_dwCount; }
    BOOL BContains(const CZQBuffer* pBuffer) const;

private:
    friend class CZQBuffer;
    struct Node {
        CZQBuffer* pBuffer;
        Node* pPrev;
        Node* pNext;
    };
    BOOL BAdd(CZQBuffer* pBuffer);
    void VRemove(CZQBuffer* pBuffer);

    bool m_bUnlimited = true;
    DWORD m_cbLimit = 0;
    DWORD m_cbInUse = 0;
    Node* m_pFirst = nullptr;
    Node* m_pLast = nullptr;
    DWORD m_dwCount = 0;
};
