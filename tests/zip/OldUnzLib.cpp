// SPDX-License-Identifier: MIT
// A library too old for the component: its version is 152.
extern "C" __attribute__((visibility("default"))) int GetUnzLibVersion()
{
    return 152;
}
extern "C" __attribute__((visibility("default"))) int UnzLibExec(void *)
{
    return 0;
}
