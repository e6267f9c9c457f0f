# Sourced by the shell tests (root: the source folder). start_sink VARIABLE DIR [ARGUMENT...]
# starts smtp_sink.py DIR [ARGUMENT...] in the background, sets VARIABLE to its process id and
# returns once it listens; a sink that never does fails the test.
start_sink() {
    sink_variable="$1"
    shift
    /usr/bin/python3 "$root/tests/mail/smtp_sink.py" "$@" &
    eval "$sink_variable=$!"
    for _ in $(seq 300); do [ -f "$1/ready" ] && return 0; sleep 0.1; done
    echo "smtp_sink.py $* did not start" >&2
    exit 1
}
