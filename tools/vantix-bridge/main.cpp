// SPDX-License-Identifier: Apache-2.0
// vantix-bridge: serves signature pads to web pages on this machine, over
// HTTP and a WebSocket on the loopback interface (docs/bridge-protocol.md).
#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "bridge.hpp"
#include "pads.hpp"
#include "server.hpp"
#include "vantix-zelnar.h"

int main(int argc, char **argv) {
#ifdef __GLIBC__
    // Signature renders take tens of megabytes for a moment: always from
    // (and back to) the system, not kept in the heap once freed (glibc would
    // raise its threshold after the first and keep the next ones).
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
    bridge::config cfg;
    CLI::App app{
        "Serve signature pads to web pages on this machine: an HTTP and WebSocket service on the "
        "loopback interface, with a JavaScript client (/vantix-pad.js) and a demo page (/).\n"
        "Exit codes: 0 stopped by SIGINT or SIGTERM, 1 failure, 2 bad command line.",
        "vantix-bridge"};
    app.set_version_flag("--version", std::string(vantix_get_zelnar_version()));
    app.footer("Protocol: " VANTIX_BRIDGE_PROTOCOL_DOC ". See vantix-bridge(1).");
    app.add_option("--listen", cfg.listen,
                   "ADDRESS:PORT to listen on; a loopback address unless --allow-remote (port 0: any free "
                   "port, printed at start)")
        ->capture_default_str();
    app.add_flag("--allow-remote", cfg.allow_remote,
                 "Allow --listen on an address other machines reach (pads are then theirs to use)");
    app.add_option("--allow-origin", cfg.allow_origins,
                   "Also accept WebSocket connections from pages of this origin, e.g. https://example.com "
                   "(may repeat)")
        ->allow_extra_args(false);
    app.add_flag("--sim", cfg.sim, "Serve the virtual pad too, and accept sim.* messages that drive it");
    app.add_option("--sim-pads", cfg.sim_pads,
                   "Serve this many virtual pads (sim:0, sim:1, ...); implies --sim")
        ->capture_default_str()
        ->check(CLI::Range(1, 64));
    app.add_option("--replay", cfg.replay,
                   "Serve a virtual pad replaying this recording (vantix-tool record), its input at the "
                   "recorded pace (may repeat)")
        ->allow_extra_args(false);
    app.add_option("--max-message", cfg.max_message, "Largest message handled, in bytes (larger: an error)")
        ->capture_default_str()
        ->check(CLI::Range(1024, 16 * 1024 * 1024));
    app.add_option("--max-rate", cfg.max_rate, "Messages a second one connection may send")
        ->capture_default_str()
        ->check(CLI::Range(1.0, 100000.0));
    app.add_option("--max-connections", cfg.max_connections, "WebSocket connections served at once")
        ->capture_default_str()
        ->check(CLI::Range(1, 1024));
    app.add_flag("-v,--verbose", cfg.verbose, "Say what happens, on standard error");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &e) {
        return app.exit(e) == 0 ? 0 : 2;
    }
    cfg.max_frame = cfg.max_message * 4;
    if (app.count("--sim-pads"))
        cfg.sim = true;

    // Threads started from here on (the library's, the pad service's)
    // leave SIGINT and SIGTERM to this one, where the server waits for them.
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    try {
        const int code =
            bridge::serve(cfg, [&stop_signals] { pthread_sigmask(SIG_UNBLOCK, &stop_signals, nullptr); });
        if (bridge::pad_service::renders_running()) {
            // A signature still being rendered: a stop does not wait for it,
            // and its thread must not meet static destructors on the way out.
            std::fflush(nullptr);
            std::_Exit(code);
        }
        return code;
    } catch (const std::invalid_argument &e) {
        std::fprintf(stderr, "vantix-bridge: %s\n", e.what());
        return 2;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "vantix-bridge: %s\n", e.what());
        return 1;
    }
}
