return table.concat({1, 2, 3}, ",") .. utf8.char(8364) .. string.format("%5.2f", 1)
