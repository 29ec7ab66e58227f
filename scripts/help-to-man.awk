# Turns the help texts that help-to-man.sh collects into a roff man page.
# Input: "@@COMMAND <words>" then that command's help as CLI11 prints it:
# description, "Usage: ...", sections ("Options:", "Positionals:",
# "Subcommands:") of items "  NAME   description" (long names put the
# description on the next line, indented), then an optional footer.

# Text as roff shows it literally: backslashes and minus signs escaped, and a
# leading dot or quote kept from being read as a request.
function roff(text) {
  gsub(/\\/, "\\e", text)
  gsub(/-/, "\\-", text)
  if (text ~ /^[.']/) text = "\\&" text
  return text
}

# An item's name: the flags bold, the value's type italic.
function item_name(name,    space) {
  space = index(name, " ")
  if (space == 0) return "\\fB" roff(name) "\\fR"
  return "\\fB" roff(substr(name, 1, space - 1)) "\\fR \\fI" roff(substr(name, space + 1)) "\\fR"
}

# A usage line with the program's name bold.
function bold_program(line,    space) {
  space = index(line, " ")
  if (space == 0) return "\\fB" roff(line) "\\fR"
  return "\\fB" roff(substr(line, 1, space - 1)) "\\fR " roff(substr(line, space + 1))
}

function flush_item() {
  if (item == "") return
  body[command] = body[command] ".TP\n" item_name(item) "\n" roff(item_text) "\n"
  item = ""
}

function start_command(words) {
  flush_item()
  command = words
  commands[++count] = words
  section = ""
}

/^@@COMMAND/ { start_command(substr($0, 11)); next }

/^Usage: / { flush_item(); usage[command] = substr($0, 8); section = "usage"; next }

section == "" { description[command] = description[command] (description[command] == "" ? "" : "\n") $0; next }

/^[^ ].*:$/ { flush_item(); section = substr($0, 1, length($0) - 1); next }

/^$/ { flush_item(); next }

# An item, or the rest of its description on the next line.
/^  / {
  if (section == "Subcommands") next
  line = $0
  sub(/^ +/, "", line)
  if ($0 ~ /^        / && item != "") {
    item_text = item_text (item_text == "" ? "" : " ") line
    next
  }
  flush_item()
  split_at = match(line, /  +/)
  if (split_at) {
    item = substr(line, 1, split_at - 1)
    item_text = substr(line, split_at + RLENGTH)
  } else {
    item = line
    item_text = ""
  }
  next
}

{ flush_item(); footer[command] = footer[command] ".PP\n" roff($0) "\n" }

END {
  flush_item()
  top = commands[1]
  summary = description[top]
  sub(/^[^:]*: */, "", summary)
  print ".TH VEHMIRA 1 \"\" \"vehmira " version "\" \"User Commands\""
  print ".SH NAME"
  print "vehmira \\- " roff(summary)
  print ".SH SYNOPSIS"
  for (i = 1; i <= count; ++i)
    if (usage[commands[i]] != "")
      print (i > 1 ? ".br\n" : "") bold_program(usage[commands[i]])
  print ".SH DESCRIPTION"
  print roff(description[top])
  print ".SH OPTIONS"
  printf "%s", body[top]
  print ".SH COMMANDS"
  for (i = 2; i <= count; ++i) {
    words = commands[i]
    print ".SS \"" roff(words) "\""
    print roff(description[words])
    print ".PP"
    print "\\fB" roff(usage[words]) "\\fR"
    printf "%s", body[words]
  }
  if (footer[top] != "") {
    print ".SH NOTES"
    printf "%s", footer[top]
  }
}
