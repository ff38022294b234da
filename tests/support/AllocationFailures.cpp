// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into the tests that make the memory run out on purpose: under AddressSanitizer a request for more memory
// than there is then fails as it does without it (malloc gives null, which Qt turns into std::bad_alloc) instead of
// ending the test.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}
