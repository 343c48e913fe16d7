// An owning stack of heap blocks. Blocks are pushed after std::malloc and freed with std::free when
// the stack is destroyed; a popped block belongs to the caller again.
#pragma once
#include <vector>

class CPointerStack {
public:
    CPointerStack() = default;
    CPointerStack(const CPointerStack&) = delete;
    CPointerStack& operator=(const CPointerStack&) = delete;
    virtual ~CPointerStack();

    // Takes ownership of p; a memory failure raises code 1 (p then still belongs to the caller).
    void Push(void* p);
    // The last block pushed, or nullptr when the stack is empty.
    void* Pop();
    int GetCount() const { return static_cast<int>(m_pointers.size()); }

private:
    std::vector<void*> m_pointers;
};
