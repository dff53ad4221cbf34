# Sourced by the tests that build one source twice and compare the bytes
# (scripts/test-reproducible.sh, scripts/test-windows.sh); a caller gives a
# scratch folder in $work.
#   source scripts/another-builder.sh
#   as_another_builder COMMAND...
# Runs COMMAND (a function too) in a subshell as another builder would, with
# another time zone (Asia/Kolkata, UTC+05:30), locale (fr_CH.UTF-8, made from
# Debian's locale sources into $work/locale: the system need not have it) and
# umask (002).
as_another_builder() {
    mkdir -p "$work/locale"
    localedef -i fr_CH -f UTF-8 "$work/locale/fr_CH.UTF-8"
    (
        umask 002
        export TZ=Asia/Kolkata LOCPATH=$work/locale
        # Bash itself does not look for locales in LOCPATH, and would say so.
        export LC_ALL=fr_CH.UTF-8 LANG=fr_CH.UTF-8 2>/dev/null
        "$@"
    )
}
