# startup-report.sh — sourced by the start-up benchmarks: medians and the table rows of files of
# "WALL_US CPU_US" lines, with the peak memory in KiB from FILE.mem.
median() { sort -n -k"$2","$2" "$1" | awk -v c="$2" '{v[NR]=$c} END {print v[int((NR+1)/2)]}'; }
peak() { sort -n "$1.mem" | tail -1; }
ms() { awk -v u="$1" 'BEGIN {printf "%.1f ms", u / 1000}'; }
mb() { awk -v k="$1" 'BEGIN {printf "%.1f MB", k / 1024}'; }
# row LABEL FILE
row() {
  printf '  %-24s wall %10s   cpu %10s   peak memory %s\n' "$1" "$(ms "$(median "$2" 1)")" \
    "$(ms "$(median "$2" 2)")" "$(mb "$(peak "$2")")"
}
