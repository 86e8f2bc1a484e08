# comment
open = Open
    .title = Open a file
files = { $count ->
    [one] One file
   *[other] { $count } files
}
-brand = Fox
about = About { -brand }
