# Writes a CSV of ROWS tests that reach every path of the judge: counts from
# one to beyond a billion (the exact test's two methods, no exact test past
# 4,294,967,295, no chance past a billion), fractions (the integrated
# chance), zero and all responses, thousands separators and exponents,
# letters, negatives and inverted counts, and names with quotes, commas and
# non-ASCII letters. The same SEED gives the same file.
#   awk -v rows=ROWS -v seed=SEED -f varied_table.awk
function views() {
  return int(10 ^ (rand() * (rand() < 0.1 ? 10.5 : 7)))
}
function count(v, rate) {
  return int(v * rate)
}
function grouped(x,   text) {
  text = sprintf("%d", x)
  while (match(text, /[0-9][0-9][0-9][0-9]([,]|$)/)) {
    text = substr(text, 1, RSTART) "," substr(text, RSTART + 1)
  }
  return "\"" text "\""
}
function quoted(text) {
  if (text !~ /[",]/) return text
  gsub(/"/, "\"\"", text)
  return "\"" text "\""
}
function written(x,   r) {
  r = rand()
  if (r < 0.05 && x >= 1000 && x == int(x)) return grouped(x)
  if (r < 0.08 && x > 0) return sprintf("%.3e", x)
  return x
}
BEGIN {
  srand(seed)
  names[0] = "Home, hero \"big\""; names[1] = "Größe"; names[2] = "測試 – mail"; names[3] = "plain"
  print "test,views1,responses1,views2,responses2,segment\r"
  for (i = 1; i <= rows; i++) {
    v1 = views(); v2 = rand() < 0.8 ? v1 : views()
    rate = rand() < 0.5 ? rand() * 0.05 : rand()
    r1 = count(v1, rate); r2 = count(v2, rate * (0.8 + rand() * 0.4))
    if (r2 > v2) r2 = v2
    kind = rand()
    if (kind < 0.05) { v1 = v1 + 0.5; r1 = r1 + 0.25 }      # weighted counts
    else if (kind < 0.07) { r1 = 0 }
    else if (kind < 0.09) { r2 = v2 }
    else if (kind < 0.10) { r1 = "abc" }
    else if (kind < 0.11) { r2 = -r2 - 1 }
    else if (kind < 0.12) { r1 = v1 + 1 }
    else if (kind < 0.13) { v2 = 0 }
    printf "%s,%s,%s,%s,%s,s%d\r\n", quoted(names[i % 4] " " i), written(v1), written(r1), written(v2), written(r2), i % 7
  }
}
