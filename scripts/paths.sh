# Sourced by the scripts that change folder before starting the program: turns
# every file argument into an absolute path against the caller's folder, so that
# `scripts/run day.velkor` names the file the caller sees. Options stay as they are.
absolute_args() {
  local arg
  resolved_args=()
  for arg in "$@"; do
    case "$arg" in
      -*|/*) resolved_args+=("$arg") ;;
      *) resolved_args+=("$PWD/$arg") ;;
    esac
  done
}
