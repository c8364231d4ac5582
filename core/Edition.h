#pragma once
// Which edition this code is compiled for. The build compiles the GUI code once
// per edition with SEALBOOK_HANDHELD set to 0 (desktop) or 1 (handheld); code
// that differs between the editions reads this flag and nothing else.

#ifndef SEALBOOK_HANDHELD
#error "SEALBOOK_HANDHELD must be defined by the build (0 desktop, 1 handheld)"
#endif

inline constexpr bool kHandheld = SEALBOOK_HANDHELD != 0;
