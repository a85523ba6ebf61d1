// SPDX-License-Identifier: Apache-2.0
// vantix-bridge: serves signature pads to web pages on this machine, over
// HTTP and a WebSocket on the loopback interface (docs/bridge-protocol.md).
#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <pthread.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "bridge.hpp"
#include "pads.hpp"
#include "protocol.hpp"
#include "server.hpp"
#include "vantix-zelnar.h"

namespace {

// The configuration file read when --config names none: the options' long
// names as keys ("allow-origin = https://example.com", a key per line,
// repeated for lists).
std::string default_config_file() {
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    const char *home = std::getenv("HOME");
    if (xdg && *xdg == '/')
        return std::string(xdg) + "/vantix-bridge/config";
    return home && *home ? std::string(home) + "/.config/vantix-bridge/config" : std::string();
}

// Every option, on the command line and in the configuration file (where
// the command line wins).
void add_options(CLI::App &app, bridge::config &cfg) {
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
    app.add_option(
           "--seal-to", cfg.seal_to,
           "Seal signature records (capture.finish with \"seal\") to this X.509 certificate, PEM or DER "
           "(may repeat)")
        ->allow_extra_args(false);
    app.add_flag(
        "--seal-only", cfg.seal_only,
        "Hand pen data to pages only sealed: InkML and JSON exports are refused (SVG and PNG are not)");
    app.add_flag("--allow-page-recipients", cfg.page_recipients,
                 "Let pages add seal recipients of their own (\"seal\": {\"recipients\": [PEM, ...]})");
    app.add_flag("-v,--verbose", cfg.verbose, "Say what happens, on standard error");
    app.set_config("--config", default_config_file(),
                   "Read options from this file too (default: $XDG_CONFIG_HOME/vantix-bridge/config, read "
                   "again on SIGHUP)");
    app.allow_config_extras(CLI::config_extras_mode::error);
}

// The options of the command line and the configuration file, checked;
// throws CLI::ParseError.
bridge::config read_options(CLI::App &app, int argc, char **argv) {
    bridge::config cfg;
    add_options(app, cfg);
    app.parse(argc, argv);
    cfg.max_frame = cfg.max_message * 4;
    if (app.count("--sim-pads"))
        cfg.sim = true;
    for (std::string &origin : cfg.allow_origins) {
        const std::optional<std::string> canonical = bridge::canonical_origin(origin);
        if (!canonical)
            throw CLI::ValidationError("--allow-origin " + origin,
                                       "expected SCHEME://HOST[:PORT] with scheme http or https and nothing "
                                       "after the port, e.g. https://example.com or http://localhost:8000");
        origin = *canonical;
    }
    return cfg;
}

CLI::App new_app() {
    return CLI::App{
        "Serve signature pads to web pages on this machine: an HTTP and WebSocket service on the "
        "loopback interface, with a JavaScript client (/vantix-pad.js) and a demo page (/).\n"
        "Exit codes: 0 stopped by SIGINT or SIGTERM, 1 failure, 2 bad command line.",
        "vantix-bridge"};
}

}  // namespace

int main(int argc, char **argv) {
#ifdef __GLIBC__
    // Signature renders take tens of megabytes for a moment: always from
    // (and back to) the system, not kept in the heap once freed (glibc would
    // raise its threshold after the first and keep the next ones).
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
    CLI::App app = new_app();
    bridge::config cfg;
    try {
        cfg = read_options(app, argc, argv);
    } catch (const CLI::ParseError &e) {
        return app.exit(e) == 0 ? 0 : 2;
    }
    // SIGHUP: the configuration file again; a bad one is reported and the
    // settings stay as they were.
    const auto reread = [argc, argv] {
        CLI::App again = new_app();
        return read_options(again, argc, argv);
    };
    // Threads started from here on (the library's, the pad service's)
    // leave SIGINT, SIGTERM and SIGHUP to this one, where the server waits
    // for them.
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    sigaddset(&stop_signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    try {
        const int code =
            bridge::serve(cfg, reread, [&stop_signals] { pthread_sigmask(SIG_UNBLOCK, &stop_signals, nullptr); });
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
