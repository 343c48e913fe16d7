#include "storage/pointer_stack.h"

#include <cstdlib>
#include <new>

#include "storage/quor_error.h"

CPointerStack::~CPointerStack()
{
    for (void* p : m_pointers)
        std::free(p);
}

void CPointerStack::Push(void* p)
{
    try {
        if (m_pointers.size() == m_pointers.capacity())
            m_pointers.reserve(m_pointers.size() + 10);
        m_pointers.push_back(p);
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

void* CPointerStack::Pop()
{
    if (m_pointers.empty())
        return nullptr;
    void* p = m_pointers.back();
    m_pointers.pop_back();
    return p;
}
