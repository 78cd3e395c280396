# Section 8 of run_wine_tests.sh (sourced by it, inside its Wine environment,
# after input_replay.sh, whose helpers it uses): the registry, the
# clipboard's HTML and the web, in one player run of the "registry" image.
#
#   registry  values written under HKCU\Software\OvrixTest, read back (the key
#             text and the value name in other cases too) and one deleted;
#             `reg query` then sees what is left
#   html      HTML put on the clipboard by the script and read back as text
#   web       HttpGet of a page from a python3 -m http.server on loopback,
#             named without a scheme, and of a page it does not have
#
# The script reports as the windows section does: "key=value" on the
# clipboard, one trace line each. Uses from the caller: WINE, WORK, pass,
# fail, wait_for, start_player, finish_player.

REGISTRY_KEY='HKCU\Software\OvrixTest'
REGISTRY_PAGE='served by the test'

registry_check() { expect_reported registry "$@"; }  # LABEL KEY VALUE

registry_server_up() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

registry_query() {
    local query
    query=$(timeout 20 "$WINE" reg query "$REGISTRY_KEY" 2>/dev/null | tr -d '\r')
    if grep -qE 'Count +REG_DWORD +0xff' <<<"$query" && grep -qE 'Keep +REG_SZ' <<<"$query" &&
        ! grep -q Gone <<<"$query"; then
        pass "registry: reg query sees Count and Keep, and not the deleted Gone"
    else
        fail "registry: reg query of $REGISTRY_KEY shows: $query"
    fi
}

run_registry_tests() {
    if [[ ! -x $COMPILE || ! -f $PLAYER64 ]]; then
        fail "registry: needs $COMPILE and $PLAYER64"
        return
    fi
    local started=$SECONDS web=$WORK/registry-web port server
    rm -rf "$web" && mkdir -p "$web" && printf '%s' "$REGISTRY_PAGE" >"$web/page.txt"
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    timeout 60 python3 -m http.server "$port" --bind 127.0.0.1 --directory "$web" >"$WORK/registry-http.log" 2>&1 &
    server=$!
    wait_for 5 registry_server_up "$port" || fail "registry: the web server on port $port did not start"
    timeout 20 "$WINE" reg delete "$REGISTRY_KEY" /f >/dev/null 2>&1

    if start_player registry registry PORT="$port"; then
        finish_player registry 30
        registry_check "a text value reads back" keep 'Grüße'
        registry_check "a DWORD reads back as hex, key and name in other cases" count 0xFF
        registry_check "a deleted value reads as no value" gone ''
        registry_check "the HTML fragment reads back as its text" html 'x\r\ny\r\nz'
        registry_check "the HTML also went on the clipboard as text" plain 'x<br />y<div class=a>z</div>'
        registry_check "HttpGet fetches a page named without a scheme" http "$REGISTRY_PAGE"
        registry_check "a page the server does not have is no value" http-missing ''
        registry_query
    else
        fail "registry: cannot build the player"
    fi
    timeout 20 "$WINE" reg delete "$REGISTRY_KEY" /f >/dev/null 2>&1
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    echo "registry: $((SECONDS - started)) s"
}
