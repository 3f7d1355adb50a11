// The program's global operator new: the standard one (malloc, the new
// handler, std::bad_alloc), except that a block of 32 MB or more is marked for
// transparent huge pages.
//
// Such blocks are the output pane's text and style buffers when a large
// result set goes in: hundreds of megabytes, each page of which is written
// for the first time as the text arrives. A first touch costs a page fault
// per 4 KB page; with huge pages it is one per 2 MB, which takes a good part
// of the time a large result needs to reach the pane. The buffers are
// allocated inside the text control with new[], so the advice has to be
// given here. It changes no byte and is only a hint: where the system gives
// huge pages on request only ("madvise", Debian's default) it takes effect,
// elsewhere it is ignored. Pages reserved but never touched still cost
// nothing.
//
// The sanitizer builds keep their own operator new, which checks every
// allocation.

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kLargeBlock = std::size_t{32} << 20;
constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;

void AdviseHugePages(void* block, std::size_t size) noexcept {
#ifdef MADV_HUGEPAGE
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (start + size) & ~(kHugePage - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)block;
    (void)size;
#endif
}

}  // namespace

// new[], nothrow new and the default delete all go through these two (the
// default delete frees what malloc gave).
void* operator new(std::size_t size) {
    if (size == 0) size = 1;
    for (;;) {
        if (void* block = std::malloc(size)) {
            if (size >= kLargeBlock) AdviseHugePages(block, size);
            return block;
        }
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) throw std::bad_alloc();
        handler();
    }
}

#endif
