return string.gsub("hello world", "(%w+)", "%1 %1")
