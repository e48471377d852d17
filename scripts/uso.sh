# Sourced by the shell scripts of scripts/ and benchmarks/ before they change folder: their usage, which is their
# heading comment, and the check of their arguments before they install, build or run anything.
uso_script=$(realpath "$0")
# The script as it is called from the checkout's root: scripts/build, benchmarks/floors.sh.
uso_cartella=${uso_script%/*}
uso_nome="${uso_cartella##*/}/${0##*/}"

# Prints the heading comment of the script (the comment lines after its first line), without the "# ", then what
# the script's own function uso_seguito adds, when it has one.
uso() {
  sed -n '2,/^[^#]/{/^#/s/^# \{0,1\}//p}' "$uso_script"
  if declare -F uso_seguito >/dev/null; then uso_seguito; fi
}

# --help or -h as the first argument prints the usage and ends the script.
aiuto() {
  if [ $# -gt 0 ] && { [ "$1" = --help ] || [ "$1" = -h ]; }; then
    uso
    exit 0
  fi
}

# Ends the script with the reason given and the usage, on the standard error.
rifiuta() {
  echo "$uso_nome: $1" >&2
  uso >&2
  exit 2
}

# A script that takes no arguments: --help prints the usage, any other argument is refused with it.
senza_argomenti() {
  aiuto "$@"
  [ $# -eq 0 ] || rifiuta "takes no arguments"
}
