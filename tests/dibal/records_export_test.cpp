// A whole file-only export through the host's operation call: the goods of kasa.exp become the
// exact bytes of dibal.exp.
#include <gtest/gtest.h>

#include <string>

#include "records_fixture.h"

namespace {

TEST_F(RecordsTest, ExportWritesTheRecordFileOfSeriesL) {
    TempDir exchange;
    host.exchangeDir = exchange.WithSeparator();
    host.list = {"21GGSSSSWWWWC"};
    host.params["DibalSeria"] = "3";
    host.params["DibalPodgrupaPLU"] = "1";
    host.params["DibalAddTextsFrom"] = "1";
    WriteFile(exchange.File("kasa.exp"),
              Cp("PLU;2;102;2101002000000;Kiełbasa śląska;2450;2200;2450;2350;5;1;T;3;T;F;F;;;1;"
                 "AKT;12,7,300;5,1200,3,7;;;14\r\n"
                 // Sub-group 2: not for this scale.
                 "PLU;3;103;2102003000000;Ser;100;100;100;100;5;1;T;3;T;F;F;;;1;DOD\r\n"
                 // Too long for the record's price field: rejected.
                 "PLU;4;104;2101004000000;Drogi;123456789;1;1;1;5;1;T;0;T;F;F;;;1;DOD\r\n"));

    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);
    EXPECT_TRUE(host.Errors().empty());

    const std::string code = "010020";
    std::string expected =
        "00L200M" + code + "005" + PadRight(Cp("Kiełbasa śląska"), 24) + Spaces(48) +
        "00002450" "00002200" "00002450" + Spaces(18) + "\r\n" +
        "00L300" + code + "0" "000014" "000000" "000000" "00000" "00" "00" "00" "00" "0007" "00"
        "0" "00" "00" "00" "03" "0000" "0" "   \r\n";
    for (int k = 0; k < 5; ++k)
        expected += "00L400" + code + std::to_string(2 * k) +
                    PadRight(k == 0 ? "A0012,A0007,A0300," : "", 48) + code +
                    std::to_string(2 * k + 1) + Spaces(48) + Spaces(14) + "\r\n";
    EXPECT_EQ(ReadFile(driver.File("dibal.exp")), expected);
    // Sent and not-for-the-scale goods are done; the rejected one is not.
    EXPECT_EQ(ReadFile(exchange.File("wynik.exp")),
              "PLU;2;102;2101002000000;AKT\r\nPLU;3;103;2102003000000;DOD\r\n");
}

}  // namespace
