// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a later start and the running program say to each other, on every system: the one request there is, how
// long a later start tries and waits for the answer, and how the running program hears out its peers.
constexpr int kAnswerWaitMs = 3000;
constexpr int kConnectAttempts = 10; // the running program may still be starting
constexpr char kFrontRequest = 'F';
// A peer that has not asked within this long is dropped, and no more than this many are heard at once: peers
// that connect and say nothing can neither hold the program's descriptors nor its attention.
constexpr int kPeerWaitMs = 1000;
constexpr int kMaxPeers = 8;
