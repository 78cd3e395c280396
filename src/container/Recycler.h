// Storage for small objects that are made and dropped at a high rate, such
// as the Number results of expressions and the cells that hold them. Each
// thread keeps up to kKept freed blocks of one size and hands them out again
// before asking the heap; past that, blocks go back to the heap. Blocks
// freed on another thread simply join that thread's list.
//
// Under AddressSanitizer every block comes from the heap, so that a use
// after free is still caught.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

namespace ovrix {

template <size_t Size>
class Recycler {
public:
    static void* Take() {
#if !defined(__SANITIZE_ADDRESS__)
        Kept& kept = ThreadKept();
        if (Block* block = kept.head) {
            kept.head = block->next;
            --kept.count;
            return block;
        }
#endif
        return ::operator new(Size);
    }

    static void Give(void* p) {
#if !defined(__SANITIZE_ADDRESS__)
        Kept& kept = ThreadKept();
        if (kept.count < kKept) {
            kept.head = new (p) Block{kept.head};
            ++kept.count;
            return;
        }
#endif
        ::operator delete(p);
    }

private:
    static_assert(Size >= sizeof(void*));
    static constexpr uint32_t kKept = 4096;

    struct Block {
        Block* next;
    };
    struct Kept {
        Kept() = default;
        Kept(const Kept&) = delete;
        Kept& operator=(const Kept&) = delete;
        ~Kept() {
            while (head != nullptr) ::operator delete(std::exchange(head, head->next));
            count = 0;
        }
        Block* head = nullptr;
        uint32_t count = 0;
    };

    static Kept& ThreadKept() {
        thread_local Kept kept;
        return kept;
    }
};

}  // namespace ovrix
