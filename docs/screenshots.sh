#!/usr/bin/env bash
# Takes the README's screenshots from the real program under a virtual X display:
# the simulator runs on loopback, the program connects to it, routes input 3 to
# outputs 2 and 5, saves scene 2 and switches the buzzer on, and the window is
# captured in English and in Simplified Chinese.
# usage: docs/screenshots.sh [BUILD_DIR]   (default: build; installs xvfb, xdotool, imagemagick)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../scripts/deps.sh"
mc_install_deps "${MC_DISPLAY_PACKAGES[@]}"
run=$(cd "${1:-$here/../build}/run" && pwd)
port=16800

shoot() { # language code, device alias, output file
    local code=$1 alias=$2 out=$3 tmp sim
    tmp=$(mktemp -d)
    cp -r "$run"/. "$tmp"/
    rm -f "$tmp"/*.ini "$tmp"/ipmanager
    printf '[General]\nlangType=%s\n' "$code" > "$tmp/AppConfig.ini"
    printf '{"items":[{"alias":"%s","gateway":"127.0.0.1","ip":"127.0.0.1","mac":"","port":"%s","subnet":"255.0.0.0"}]}' \
        "$alias" "$port" > "$tmp/ipmanager"
    "$tmp/matrix-sim" --listen "127.0.0.1:$port" > "$tmp/sim.log" 2>&1 &
    sim=$!
    trap 'kill $sim 2>/dev/null' EXIT
    sleep 0.5
    # The window is centred on the 1280 x 900 screen, so its corner is at (250, 100).
    (cd "$tmp" && xvfb-run -a -s "-screen 0 1280x900x24" sh -c '
        ./matrix-controller > app.log 2>&1 & p=$!
        sleep 3
        click() { xdotool mousemove $(($1 + 250)) $(($2 + 100)) click 1; sleep 0.3; }
        click 34 160    # tick the simulator
        click 349 164   # connect
        sleep 0.5
        click 107 358   # input 3
        click 489 336   # output 2
        click 489 405   # output 5
        click 243 512   # Switch
        click 481 120   # save scene 2
        click 471 62    # buzzer on
        xdotool mousemove 1200 880
        sleep 0.5
        import -window root shot.png
        kill $p 2>/dev/null; true')
    kill "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
    trap - EXIT
    convert "$tmp/shot.png" -crop 780x700+250+100 +repage "$out"
    grep -c ' ok: ' "$tmp/sim.log" | xargs echo "commands the simulator took:"
    rm -rf "$tmp"
    echo "wrote $out"
}

shoot 2 Simulator "$here/screenshot-en.png"
shoot 0 模拟器 "$here/screenshot-zh_cn.png"
